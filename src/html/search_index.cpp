#include "html/search_index.h"

#include <algorithm>

#include "html/script_literal.h"
#include "html/search_runtime.h"
#include "html/utf8_text.h"

namespace sylva {

namespace {

constexpr std::string_view kShardFilePrefix = "sylva_search_w_";
constexpr std::string_view kBlockFilePrefix = "sylva_search_i_";
constexpr std::string_view kScriptExtension = ".js";
// Shards take the first characters of their terms as key; one-character terms have their own.
constexpr std::size_t kShardKeyLength = 2;

// A posting is one number, (item - previous item of the term) * 8 + level, written least
// significant digit first in digits of 5 bits: kDigits[0..31] ends a number, kDigits[32..63]
// is followed by more. None of them needs escaping in a string literal.
constexpr std::string_view kDigits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr int kLevelBits = 3;
constexpr int kDigitBits = 5;

void AppendPosting(std::string& out, std::uint64_t value) {
    constexpr std::uint64_t kDigitMask = (1u << kDigitBits) - 1;
    while (value > kDigitMask) {
        out.push_back(kDigits[(value & kDigitMask) | (kDigitMask + 1)]);
        value >>= kDigitBits;
    }
    out.push_back(kDigits[value]);
}

// The first `count` characters of UTF-8 `text` (all of it when shorter), and how many there are.
std::pair<std::string_view, std::size_t> Prefix(std::string_view text, std::size_t count) {
    std::size_t position = 0;
    std::size_t taken = 0;
    while (taken < count && position < text.size()) {
        if (static_cast<unsigned char>(text[position]) < 0x80) {
            ++position;
        } else {
            NextCharacter(text, position);
        }
        ++taken;
    }
    return {text.substr(0, position), taken};
}

// A shard key in a file name: ASCII letters and digits as they are, every other character as
// '_', its code in hexadecimal, '_'. Keys are in lower case, so names differ on any file system.
std::string ShardFileName(std::string_view key) {
    constexpr std::string_view kHexDigits = "0123456789abcdef";
    std::string name(kShardFilePrefix);
    for (std::size_t position = 0; position < key.size();) {
        char32_t c = NextCharacter(key, position);
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            name.push_back(static_cast<char>(c));
            continue;
        }
        name.push_back('_');
        std::string hex;
        do {
            hex.insert(hex.begin(), kHexDigits[c & 0xF]);
            c >>= 4;
        } while (c != 0);
        name.append(hex);
        name.push_back('_');
    }
    name.append(kScriptExtension);
    return name;
}

std::string BlockFileName(std::size_t block) {
    return std::string(kBlockFilePrefix) + std::to_string(block) + std::string(kScriptExtension);
}

void AppendStringList(std::string& out, const std::vector<std::string_view>& texts) {
    out.push_back('[');
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) {
            out.push_back(',');
        }
        AppendScriptString(out, texts[i]);
    }
    out.push_back(']');
}

// The file of block `number` of the item table: its table of texts, then its rows.
std::string BlockScript(std::size_t number, const std::vector<std::string>& texts,
                        std::string_view rows) {
    std::string script = "SylvaSearch.items(" + std::to_string(number) + ",";
    AppendStringList(script, std::vector<std::string_view>(texts.begin(), texts.end()));
    script.append(",[");
    script.append(rows);
    script.append("]);\n");
    return script;
}

// The number of `text` in the block's table of texts, added when new.
std::size_t TextNumber(std::vector<std::string>& texts, std::string text) {
    auto found = std::find(texts.begin(), texts.end(), text);
    if (found != texts.end()) {
        return static_cast<std::size_t>(found - texts.begin());
    }
    texts.push_back(std::move(text));
    return texts.size() - 1;
}

}  // namespace

void SearchIndexWriter::Add(IndexedEntry entry) {
    const auto item = static_cast<std::uint32_t>(count_);
    if (entry.deprecated) {
        deprecated_.push_back(item);
    }
    for (IndexedTerm& term : entry.terms) {
        Term& found = terms_.Find(std::move(term.text), term.hash);
        std::uint64_t distance = item - found.lastItem;
        AppendPosting(found.postings,
                      (distance << kLevelBits) | static_cast<std::uint64_t>(term.level));
        found.lastItem = item;
    }

    if (!blockRows_.empty()) {
        blockRows_.push_back(',');
    }
    blockRows_.push_back('[');
    AppendScriptString(blockRows_, entry.name);
    blockRows_.push_back(',');
    AppendScriptString(blockRows_, entry.page);
    for (std::string* text : {&entry.group, &entry.type}) {
        blockRows_.push_back(',');
        blockRows_.append(std::to_string(TextNumber(blockTexts_, std::move(*text))));
    }
    blockRows_.push_back(',');
    AppendScriptString(blockRows_, entry.summary);
    blockRows_.push_back(']');

    ++count_;
    if (count_ % kItemBlockSize == 0) {
        CloseBlock();
    }
}

void SearchIndexWriter::CloseBlock() {
    const std::size_t block = (count_ - 1) / kItemBlockSize;
    Write(BlockFileName(block), BlockScript(block, blockTexts_, blockRows_));
    blockRows_.clear();
    blockTexts_.clear();
}

void SearchIndexWriter::Write(const std::string& name, std::string_view content) {
    if (status_.ok()) {
        status_ = writeFile_(name, content);
    }
}

// Files the terms [begin, end), which share their first `keyLength` characters, into shards:
// one when they fit the budget (or cannot be told apart by more characters), else one per next
// character, the terms of exactly `keyLength` characters staying under the shorter key.
void SearchIndexWriter::Partition(const std::vector<const Term*>& terms, std::size_t begin,
                                  std::size_t end, std::size_t keyLength,
                                  std::vector<Shard>& shards,
                                  std::vector<std::string>& splitKeys) const {
    const std::string key(Prefix(terms[begin]->text, keyLength).first);
    std::size_t bytes = 0;
    bool longer = false;
    for (std::size_t i = begin; i < end; ++i) {
        // A term costs about its text and postings, quotes and commas.
        bytes += terms[i]->text.size() + terms[i]->postings.size() + 6;
        longer = longer || Prefix(terms[i]->text, keyLength + 1).second > keyLength;
    }
    if (bytes <= kShardBudget || !longer) {
        shards.push_back({key, begin, end});
        return;
    }
    splitKeys.push_back(key);
    std::size_t i = begin;
    // Byte order puts the term equal to the key first, and terms sharing a prefix together.
    if (terms[i]->text == key) {
        shards.push_back({key, i, i + 1});
        ++i;
    }
    while (i < end) {
        std::string_view next = Prefix(terms[i]->text, keyLength + 1).first;
        std::size_t j = i + 1;
        while (j < end && terms[j]->text.starts_with(next)) {
            ++j;
        }
        Partition(terms, i, j, keyLength + 1, shards, splitKeys);
        i = j;
    }
}

// The terms in byte order. Most comparisons are settled by the first sixteen bytes, kept beside
// each term as two numbers, without reading the term itself.
std::vector<const SearchIndexWriter::Term*> SearchIndexWriter::SortedTerms() const {
    struct Sortable {
        std::uint64_t head[2];
        const Term* term;
    };
    std::vector<Sortable> sortable;
    sortable.reserve(terms_.Terms().size());
    for (const Term& term : terms_.Terms()) {
        Sortable entry{{0, 0}, &term};
        const std::string& text = term.text;
        for (std::size_t i = 0; i < sizeof entry.head; ++i) {
            std::uint64_t& word = entry.head[i / sizeof(std::uint64_t)];
            word = (word << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
        }
        sortable.push_back(entry);
    }
    std::sort(sortable.begin(), sortable.end(), [](const Sortable& a, const Sortable& b) {
        if (a.head[0] != b.head[0]) {
            return a.head[0] < b.head[0];
        }
        if (a.head[1] != b.head[1]) {
            return a.head[1] < b.head[1];
        }
        return a.term->text < b.term->text;
    });
    std::vector<const Term*> terms;
    terms.reserve(sortable.size());
    for (const Sortable& entry : sortable) {
        terms.push_back(entry.term);
    }
    return terms;
}

Status SearchIndexWriter::Finish() {
    if (!blockRows_.empty()) {
        CloseBlock();
    }
    Write(std::string(kSearchScriptFile), kSearchScript);
    Write(std::string(kSearchStyleFile), kSearchStyle);

    std::vector<const Term*> terms = SortedTerms();
    std::vector<Shard> shards;
    std::vector<std::string> splitKeys;
    for (std::size_t i = 0; i < terms.size();) {
        std::string_view key = Prefix(terms[i]->text, kShardKeyLength).first;
        std::size_t j = i + 1;
        while (j < terms.size() && Prefix(terms[j]->text, kShardKeyLength).first == key) {
            ++j;
        }
        Partition(terms, i, j, Prefix(key, kShardKeyLength).second, shards, splitKeys);
        i = j;
    }

    std::string manifest = "SylvaSearch.index({\"items\":" + std::to_string(count_) +
                           ",\"block\":" + std::to_string(kItemBlockSize) + ",\"keys\":";
    std::vector<std::string_view> keys;
    for (const Shard& shard : shards) {
        keys.push_back(shard.key);
    }
    AppendStringList(manifest, keys);
    manifest.append(",\"split\":");
    AppendStringList(manifest, std::vector<std::string_view>(splitKeys.begin(), splitKeys.end()));
    manifest.append(",\"stop\":");
    AppendStringList(manifest, kStopWords);
    manifest.append(",\"deprecated\":[");
    for (std::size_t i = 0; i < deprecated_.size(); ++i) {
        manifest.append(i > 0 ? "," : "").append(std::to_string(deprecated_[i]));
    }
    manifest.append("]});\n");
    Write(std::string(kSearchManifestFile), manifest);

    for (const Shard& shard : shards) {
        std::string script = "SylvaSearch.shard(";
        AppendScriptString(script, shard.key);
        script.append(",[");
        for (std::size_t i = shard.begin; i < shard.end; ++i) {
            if (i > shard.begin) {
                script.push_back(',');
            }
            AppendScriptString(script, terms[i]->text);
            script.append(",\"");
            script.append(terms[i]->postings);
            script.push_back('"');
        }
        script.append("]);\n");
        Write(ShardFileName(shard.key), script);
    }

    return status_;
}

}  // namespace sylva
