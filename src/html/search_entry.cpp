#include "html/search_entry.h"

#include <algorithm>
#include <functional>

#include "html/search_terms.h"
#include "html/utf8_text.h"
#include "support/byte_codec.h"

namespace sylva {

namespace {

// True for a word of kStopWords; `hash` is the word's std::hash.
bool IsStopWord(std::string_view term, std::size_t hash) {
    struct Stop {
        std::size_t hash;
        std::string_view word;
    };
    static const std::vector<Stop> stops = [] {
        std::vector<Stop> sorted;
        for (std::string_view word : kStopWords) {
            sorted.push_back({std::hash<std::string_view>()(word), word});
        }
        std::sort(sorted.begin(), sorted.end(),
                  [](const Stop& a, const Stop& b) { return a.hash < b.hash; });
        return sorted;
    }();
    static const std::size_t longest =
        std::max_element(kStopWords.begin(), kStopWords.end(), [](auto a, auto b) {
            return a.size() < b.size();
        })->size();
    if (term.size() > longest) {
        return false;
    }
    auto found = std::lower_bound(stops.begin(), stops.end(), hash,
                                  [](const Stop& stop, std::size_t h) { return stop.hash < h; });
    for (; found != stops.end() && found->hash == hash; ++found) {
        if (found->word == term) {
            return true;
        }
    }
    return false;
}

// Hands `add` the terms of each word of `name` (UTF-8): the whole word and the last part of the
// last word at kWholeNameWord, every other part at kNameWord.
template <typename Add>
void AddNameWords(std::string_view name, Add& add) {
    std::vector<std::string_view> words;
    std::size_t start = std::string_view::npos;
    for (std::size_t position = 0; position < name.size();) {
        const std::size_t at = position;
        if (IsWordCharacter(NextCharacter(name, position))) {
            start = start == std::string_view::npos ? at : start;
        } else if (start != std::string_view::npos) {
            words.push_back(name.substr(start, at - start));
            start = std::string_view::npos;
        }
    }
    if (start != std::string_view::npos) {
        words.push_back(name.substr(start));
    }
    std::vector<std::string> terms;
    for (std::size_t w = 0; w < words.size(); ++w) {
        terms.clear();
        ForEachTerm(words[w], [&terms](std::string_view term) { terms.emplace_back(term); });
        const std::string whole = FoldCase(words[w]);
        for (std::size_t t = 0; t < terms.size(); ++t) {
            const bool lastPart = w + 1 == words.size() && t + 1 == terms.size();
            add(terms[t],
                terms[t] == whole || lastPart ? TermLevel::kWholeNameWord : TermLevel::kNameWord);
        }
    }
}

}  // namespace

// Sorted in byte order; one-character words are never indexed and need no place here.
const std::vector<std::string_view> kStopWords = {
    "also", "an",    "and",   "are",  "as",    "at",    "auch",  "auf",   "aus",  "be",  "bei",
    "been", "but",   "by",    "can",  "das",   "dass",  "dem",   "den",   "der",  "des", "die",
    "do",   "does",  "ein",   "eine", "einem", "einen", "einer", "eines", "es",   "for", "from",
    "has",  "have",  "if",    "im",   "in",    "into",  "is",    "ist",   "it",   "its", "mit",
    "nach", "nicht", "noch",  "nur",  "oder",  "of",    "on",    "or",    "sind", "so",  "than",
    "that", "the",   "their", "then", "there", "these", "this",  "to",    "und",  "von", "was",
    "were", "which", "wie",   "will", "wird",  "with",  "zu",
};

IndexedEntry IndexSearchEntry(const SearchEntry& entry) {
    IndexedEntry indexed;
    indexed.name = ToUtf8(entry.name);
    indexed.page = ToUtf8(entry.page);
    indexed.group = ToUtf8(entry.group);
    indexed.type = ToUtf8(entry.type);
    indexed.summary = ToUtf8(entry.summary);
    indexed.deprecated = entry.deprecated;

    // Every occurrence of a term, its text kept in `texts`; then each term once, at the best
    // level it occurs at. Sorting by hash, not by text, keeps this cheap: the order is not kept.
    struct Occurrence {
        std::size_t hash;
        TermLevel level;
        std::uint32_t offset;
        std::uint32_t size;
    };
    std::string texts;
    std::vector<Occurrence> occurrences;
    const std::size_t textBytes = entry.description.size() + entry.other.size() + 64;
    texts.reserve(textBytes);
    occurrences.reserve(textBytes / 4);
    // Words of texts that carry no meaning of their own are left out; those of the name never.
    auto add = [&texts, &occurrences](std::string_view term, TermLevel level) {
        std::size_t hash = std::hash<std::string_view>()(term);
        if (level >= TermLevel::kDescriptionWord && IsStopWord(term, hash)) {
            return;
        }
        occurrences.push_back({hash, level, static_cast<std::uint32_t>(texts.size()),
                               static_cast<std::uint32_t>(term.size())});
        texts.append(term);
    };
    if (!indexed.name.empty()) {
        add(FoldCase(indexed.name), TermLevel::kFullName);
    }
    AddNameWords(indexed.name, add);
    std::string converted;
    auto addText = [&add, &converted](std::string_view bytes, TermLevel level) {
        ForEachTerm(AsUtf8(bytes, converted),
                    [&add, level](std::string_view term) { add(term, level); });
    };
    addText(entry.description, TermLevel::kDescriptionWord);
    addText(entry.other, TermLevel::kOtherWord);
    addText(entry.group, TermLevel::kOtherWord);

    auto text = [&texts](const Occurrence& o) {
        return std::string_view(texts).substr(o.offset, o.size);
    };
    std::sort(occurrences.begin(), occurrences.end(),
              [&text](const Occurrence& a, const Occurrence& b) {
                  if (a.hash != b.hash) {
                      return a.hash < b.hash;
                  }
                  int order = text(a).compare(text(b));
                  return order != 0 ? order < 0 : a.level < b.level;
              });
    for (std::size_t i = 0; i < occurrences.size(); ++i) {
        const Occurrence& o = occurrences[i];
        if (i == 0 || o.hash != occurrences[i - 1].hash || text(o) != text(occurrences[i - 1])) {
            indexed.terms.push_back({std::string(text(o)), o.hash, o.level});
        }
    }
    return indexed;
}

std::string EncodeIndexedEntry(const IndexedEntry& entry) {
    ByteWriter out;
    out.Text(entry.name).Text(entry.page).Text(entry.group).Text(entry.type).Text(entry.summary);
    out.Number(entry.deprecated ? 1 : 0);
    out.Number(entry.terms.size());
    for (const IndexedTerm& term : entry.terms) {
        out.Text(term.text).Number(static_cast<std::uint64_t>(term.level));
    }
    return out.Take();
}

std::optional<IndexedEntry> DecodeIndexedEntry(std::string_view bytes) {
    ByteReader in(bytes);
    IndexedEntry entry;
    for (std::string* text :
         {&entry.name, &entry.page, &entry.group, &entry.type, &entry.summary}) {
        *text = in.Text();
    }
    entry.deprecated = in.Below(2) == 1;
    for (std::uint64_t count = in.Number(); in.ok() && entry.terms.size() < count;) {
        std::string text(in.Text());
        const auto level =
            static_cast<TermLevel>(in.Below(static_cast<std::uint64_t>(TermLevel::kOtherWord) + 1));
        const std::size_t hash = std::hash<std::string_view>()(text);
        entry.terms.push_back({std::move(text), hash, level});
    }
    if (!in.Done()) {
        return std::nullopt;
    }
    return entry;
}

}  // namespace sylva
