#include "support/xml_reader.h"

#include <string_view>

namespace sylva {

namespace {

constexpr std::string_view kBinary = "a byte that no text holds (binary data)";
constexpr std::string_view kTooDeep = "elements nest too deep";
constexpr std::string_view kTooLong = "a name, text or attribute value is too long";
constexpr std::string_view kBadName = "a name is expected";
constexpr std::string_view kBadReference = "an unknown or malformed entity reference";
constexpr std::string_view kUnclosed = "the data ends inside an element or markup";
constexpr std::string_view kMismatch = "an end tag does not match the element it closes";
constexpr std::string_view kBadTag = "a malformed tag";
constexpr std::string_view kAfterRoot = "data after the root element";
constexpr std::string_view kSubset = "a DOCTYPE with an internal subset";

constexpr std::string_view kCdataStart = "[CDATA[";

bool IsBlank(int ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

bool IsNameByte(int ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           ch == '_' || ch == ':' || ch == '-' || ch == '.' || ch >= 0x80;
}

void AppendUtf8(std::string& out, unsigned long code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// The code point of a character reference's digits ("#65", "#x41"), or 0 when they name none
// that XML allows.
unsigned long CodePoint(std::string_view digits) {
    const bool hex = digits.starts_with("#x");
    digits.remove_prefix(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8) {
        return 0;
    }
    unsigned long code = 0;
    for (char ch : digits) {
        int digit = ch >= '0' && ch <= '9'          ? ch - '0'
                    : hex && ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                    : hex && ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                                                    : -1;
        if (digit < 0) {
            return 0;
        }
        code = code * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
    }
    const bool allowed = code == 0x9 || code == 0xA || code == 0xD ||
                         (code >= 0x20 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF));
    return allowed ? code : 0;
}

}  // namespace

int XmlReader::Peek() {
    return in_.sgetc();
}

// The next byte, or EOF. A control byte other than a blank (DEL included, which opens every
// executable) is binary data, and so an error the
// caller sees as EOF with failed_ set.
int XmlReader::Take() {
    const int ch = in_.sbumpc();
    if (ch == '\n') {
        ++line_;
    } else if (ch != EOF && (ch < 0x20 || ch == 0x7F) && !IsBlank(ch)) {
        Fail(kBinary);
        return EOF;
    }
    return ch;
}

XmlReader::Event XmlReader::Fail(std::string_view why) {
    if (!failed_) {
        failed_ = true;
        error_ = why;
    }
    return Event::kError;
}

bool XmlReader::ReadName(std::string& out) {
    out.clear();
    while (IsNameByte(Peek())) {
        if (out.size() >= kMaxXmlNameBytes) {
            Fail(kTooLong);
            return false;
        }
        out.push_back(static_cast<char>(Take()));
    }
    if (out.empty()) {
        Fail(kBadName);
    }
    return !out.empty();
}

// After "&": appends what the reference stands for.
bool XmlReader::ReadReference(std::string& out) {
    std::string entity;
    for (int ch = Take(); ch != ';'; ch = Take()) {
        if (ch == EOF || entity.size() >= 12 || !(IsNameByte(ch) || ch == '#')) {
            Fail(kBadReference);
            return false;
        }
        entity.push_back(static_cast<char>(ch));
    }
    constexpr std::pair<std::string_view, char> kNamed[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& [named, ch] : kNamed) {
        if (entity == named) {
            out.push_back(ch);
            return true;
        }
    }
    const unsigned long code = entity.starts_with('#') ? CodePoint(entity) : 0;
    if (code == 0) {
        Fail(kBadReference);
        return false;
    }
    AppendUtf8(out, code);
    return true;
}

bool XmlReader::SkipBlanks() {
    while (IsBlank(Peek())) {
        Take();
    }
    return !failed_;
}

// Skips past the first occurrence of `end`.
bool XmlReader::SkipUntil(std::string_view end) {
    std::size_t matched = 0;
    while (matched < end.size()) {
        const int ch = Take();
        if (ch == EOF) {
            Fail(kUnclosed);
            return false;
        }
        matched = ch == end[matched] ? matched + 1 : (ch == end[0] ? 1 : 0);
    }
    return true;
}

XmlReader::Event XmlReader::Next() {
    if (failed_) {
        return Event::kError;
    }
    if (pendingEnd_) {
        pendingEnd_ = false;
        open_.pop_back();
        return Event::kEnd;
    }
    for (;;) {
        const int ch = Peek();
        if (ch == EOF) {
            if (!open_.empty() || !rootSeen_) {
                return Fail(kUnclosed);
            }
            return Event::kDone;
        }
        if (ch != '<') {
            if (open_.empty()) {
                Take();  // fails on a binary byte
                if (!failed_ && !IsBlank(ch)) {
                    Fail(rootSeen_ ? kAfterRoot : kBadTag);
                }
                if (failed_) {
                    return Event::kError;
                }
                continue;
            }
            text_.clear();
            return ReadText();
        }
        Take();
        const Event event = ReadMarkup();
        if (event != Event::kText || !text_.empty()) {
            return event;
        }
        // A comment, instruction or DOCTYPE: read on.
    }
}

// After "<". A comment, instruction or DOCTYPE gives kText with an empty text.
XmlReader::Event XmlReader::ReadMarkup() {
    text_.clear();
    const int ch = Peek();
    if (ch == '?') {
        return SkipUntil("?>") ? Event::kText : Event::kError;
    }
    if (ch == '/') {
        Take();
        return ReadEndTag();
    }
    if (ch != '!') {
        return ReadStartTag();
    }
    Take();
    if (Peek() == '-') {
        Take();
        if (Take() != '-') {
            return Fail(kBadTag);
        }
        return SkipUntil("-->") ? Event::kText : Event::kError;
    }
    if (Peek() == '[') {
        for (char expected : kCdataStart) {
            if (Take() != expected) {
                return Fail(kBadTag);
            }
        }
        if (open_.empty()) {
            return Fail(kBadTag);
        }
        std::size_t closing = 0;  // how many of "]]" stand before the byte read
        for (;;) {
            const int byte = Take();
            if (byte == EOF) {
                return Fail(kUnclosed);
            }
            if (byte == '>' && closing >= 2) {
                text_.resize(text_.size() - 2);
                return text_.empty() ? ReadText() : Event::kText;
            }
            closing = byte == ']' ? closing + 1 : 0;
            if (text_.size() >= kMaxXmlTextBytes) {
                return Fail(kTooLong);
            }
            text_.push_back(static_cast<char>(byte));
        }
    }
    // "<!DOCTYPE name ...>": an internal subset could declare entities, which are not read.
    for (int byte = Take(); byte != '>'; byte = Take()) {
        if (byte == EOF) {
            return Fail(kUnclosed);
        }
        if (byte == '[') {
            return Fail(kSubset);
        }
    }
    return Event::kText;
}

XmlReader::Event XmlReader::ReadStartTag() {
    if (open_.empty() && rootSeen_) {
        return Fail(kAfterRoot);
    }
    if (static_cast<int>(open_.size()) >= kMaxXmlDepth) {
        return Fail(kTooDeep);
    }
    if (!ReadName(name_)) {
        return Event::kError;
    }
    attributes_.clear();
    std::string attribute;
    std::string value;
    for (;;) {
        const bool blank = IsBlank(Peek());
        if (!SkipBlanks()) {
            return Event::kError;
        }
        const int ch = Peek();
        if (ch == '>' || ch == '/') {
            Take();
            if (ch == '/' && Take() != '>') {
                return Fail(kBadTag);
            }
            rootSeen_ = true;
            // Counted open until its end is given, so that depth() is the same for "<x/>" as for
            // "<x></x>".
            pendingEnd_ = ch == '/';
            open_.push_back(name_);
            return Event::kStart;
        }
        if (!blank || attributes_.size() >= kMaxXmlAttributes || !ReadName(attribute) ||
            !SkipBlanks() || Take() != '=' || !SkipBlanks() || !ReadAttributeValue(value)) {
            return Fail(kBadTag);
        }
        attributes_.emplace_back(std::move(attribute), std::move(value));
    }
}

const std::string* XmlReader::Attribute(std::string_view key) const {
    for (const auto& [name, value] : attributes_) {
        if (name == key) {
            return &value;
        }
    }
    return nullptr;
}

bool XmlReader::ReadAttributeValue(std::string& value) {
    const int quote = Take();
    if (quote != '"' && quote != '\'') {
        return false;
    }
    value.clear();
    for (int ch = Take(); ch != quote; ch = Take()) {
        if (ch == EOF || ch == '<' || value.size() >= kMaxXmlTextBytes) {
            return false;
        }
        if (ch == '&') {
            if (!ReadReference(value)) {
                return false;
            }
        } else {
            value.push_back(static_cast<char>(ch));
        }
    }
    return true;
}

XmlReader::Event XmlReader::ReadEndTag() {
    if (!ReadName(name_) || !SkipBlanks()) {
        return Event::kError;
    }
    if (Take() != '>') {
        return Fail(kBadTag);
    }
    if (open_.empty() || open_.back() != name_) {
        return Fail(kMismatch);
    }
    open_.pop_back();
    return Event::kEnd;
}

// Character data up to the next "<" (which stays unread), references replaced.
XmlReader::Event XmlReader::ReadText() {
    for (int ch = Peek(); ch != '<'; ch = Peek()) {
        if (ch == EOF) {
            return Fail(kUnclosed);
        }
        Take();
        if (failed_) {
            return Event::kError;
        }
        if (text_.size() >= kMaxXmlTextBytes) {
            return Fail(kTooLong);
        }
        if (ch == '&') {
            if (!ReadReference(text_)) {
                return Event::kError;
            }
        } else {
            text_.push_back(static_cast<char>(ch));
        }
    }
    return Event::kText;
}

}  // namespace sylva
