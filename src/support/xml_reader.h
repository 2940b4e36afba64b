// A streaming reader of XML: element starts and ends and their character data, one at a time, so
// that a file of any size is read in constant memory. It reads what well-formed data files hold
// (elements, attributes, the five named entities and character references, comments, CDATA,
// processing instructions and a DOCTYPE without an internal subset) and stops at the first byte
// that breaks them, with the line where it stands.
//
// Bounds: elements nest at most kMaxXmlDepth deep and hold at most kMaxXmlAttributes attributes, a
// name holds at most kMaxXmlNameBytes bytes, one
// run of character data or one attribute value at most kMaxXmlTextBytes. Data past a bound is an
// error, not a truncation, so a hostile file cannot make the reader's memory grow.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sylva {

inline constexpr int kMaxXmlDepth = 64;
inline constexpr std::size_t kMaxXmlNameBytes = 256;
inline constexpr std::size_t kMaxXmlTextBytes = 1 << 20;
inline constexpr std::size_t kMaxXmlAttributes = 32;

class XmlReader {
  public:
    enum class Event {
        kStart,  // an element starts: name(); a "<x/>" gives kStart, then kEnd
        kEnd,    // an element ends: name()
        kText,   // character data, references replaced: text()
        kDone,   // the root element has ended and only blanks, comments and instructions followed
        kError,  // error(), at line(); every later call gives kError again
    };

    // REQUIRES: `in` outlives the reader.
    explicit XmlReader(std::istream& in) : in_(*in.rdbuf()) {}

    Event Next();

    const std::string& name() const { return name_; }
    const std::string& text() const { return text_; }
    const std::string& error() const { return error_; }
    // The value of the started element's attribute `key`, references replaced; null when it has
    // none of that name.
    const std::string* Attribute(std::string_view key) const;
    // The line (from 1) of the byte read last.
    int line() const { return line_; }
    // How deep the reader stands: the number of elements started and not yet ended.
    int depth() const { return static_cast<int>(open_.size()); }

  private:
    int Peek();
    int Take();
    Event Fail(std::string_view why);
    bool ReadName(std::string& out);
    bool ReadReference(std::string& out);
    bool SkipBlanks();
    bool SkipUntil(std::string_view end);
    Event ReadMarkup();
    Event ReadStartTag();
    Event ReadEndTag();
    Event ReadText();
    bool ReadAttributeValue(std::string& value);

    std::streambuf& in_;
    std::vector<std::string> open_;
    std::string name_;
    std::vector<std::pair<std::string, std::string>> attributes_;
    std::string text_;
    std::string error_;
    int line_ = 1;
    bool pendingEnd_ = false;
    bool rootSeen_ = false;
    bool failed_ = false;
};

}  // namespace sylva
