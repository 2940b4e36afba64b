// File names of the project's pages and their form in links.
#include "html/page_names.h"

#include "support/text_format.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kPlainPageFile = "SYLVA_%s.html";
constexpr std::string_view kNumberedPageFile = "SYLVA_%s_%s.html";
constexpr std::string_view kPageExtension = ".HTML";
constexpr std::string_view kFrameIndexSuffix = "_frameidx";
constexpr std::string_view kFrameSetSuffix = "_frame";

bool NeedsEscape(unsigned char byte) {
    return byte > 127 || byte == '&';
}

std::string ProjectPageFile(std::string_view directoryName, std::string_view suffix) {
    std::string file(directoryName);
    file.append(suffix);
    file.append(kPageExtension);
    return file;
}

}  // namespace

std::string SafeFileName(std::string_view name) {
    CZTString safe(name);
    return safe.ReplaceInvalidFilenameChars('_');
}

std::string PlainPageFile(std::string_view name) {
    return FormatLine(kPlainPageFile, {SafeFileName(name)});
}

std::string PageFile(const CSylItem& item) {
    return item.pageNumber < 0 ? PlainPageFile(item.name)
                               : FormatLine(kNumberedPageFile, {SafeFileName(item.name),
                                                                ThreeDigits(item.pageNumber)});
}

std::string PagePath(const Project& project, const CSylItem& item) {
    return project.Directory() + "/" + PageFile(item);
}

std::string ProjectIndexFile(std::string_view directoryName) {
    return ProjectPageFile(directoryName, "");
}

std::string FrameIndexFile(std::string_view directoryName) {
    return ProjectPageFile(directoryName, kFrameIndexSuffix);
}

std::string FrameSetFile(std::string_view directoryName) {
    return ProjectPageFile(directoryName, kFrameSetSuffix);
}

std::string LinkTarget(std::string_view fileName) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string target;
    target.reserve(fileName.size());
    for (char ch : fileName) {
        unsigned char byte = static_cast<unsigned char>(ch);
        if (NeedsEscape(byte)) {
            target.push_back('%');
            target.push_back(kHexDigits[byte >> 4]);
            target.push_back(kHexDigits[byte & 0x0F]);
        } else {
            target.push_back(ch);
        }
    }
    return target;
}

}  // namespace sylva
