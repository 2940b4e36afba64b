#include "html/site_entry.h"

#include <filesystem>

#include "html/output_files.h"
#include "support/atomic_file.h"
#include "support/line_reader.h"
#include "support/text_format.h"

namespace sylva {

namespace {

// What tells a page Sylva wrote from a start page of the user's own: only the former is replaced.
constexpr std::string_view kOwnMark = "<!-- sylva: leads to the master index -->";
constexpr std::string_view kPage =
    "<!DOCTYPE html>\n"
    "<html>\n"
    "<head>\n"
    "%s\n"
    "<meta charset=\"utf-8\">\n"
    "<meta http-equiv=\"refresh\" content=\"0; url=%s\">\n"
    "<title>Sylva Main Index</title>\n"
    "</head>\n"
    "<body>\n"
    "<p><a href=\"%s\">Sylva Main Index</a></p>\n"
    "</body>\n"
    "</html>\n";
constexpr std::string_view kForeignPage =
    "  %s is not written by Sylva, it is left as it is; the site's root address does not lead "
    "to the master index.";
constexpr std::string_view kOpenFailure = "  ERROR: Cannot access file %s !";

// Every byte but letters, digits and "-._~" as a %XX escape: the name then stands unchanged in
// an attribute and in the refresh's "url=", whatever it holds (';', quotes, blanks, bytes above
// 127).
std::string Escaped(std::string_view name) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string escaped;
    for (char ch : name) {
        const auto byte = static_cast<unsigned char>(ch);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || ch == '-' || ch == '.' || ch == '_' ||
                           ch == '~';
        if (plain) {
            escaped.push_back(ch);
        } else {
            escaped.push_back('%');
            escaped.push_back(kHexDigits[byte >> 4]);
            escaped.push_back(kHexDigits[byte & 0x0F]);
        }
    }
    return escaped;
}

}  // namespace

std::string SiteEntryPage(std::string_view masterIndexName) {
    const std::string target = Escaped(masterIndexName);
    return FormatLine(kPage, {kOwnMark, target, target});
}

void WriteSiteEntry(Reporter& reporter, const std::string& outputPath,
                    std::string_view masterIndexName) {
    if (masterIndexName == kSiteEntryFile) {
        return;
    }
    const std::string path = outputPath + "/" + std::string(kSiteEntryFile);
    const std::string page = SiteEntryPage(masterIndexName);
    // Every writer of this page holds the master index's lock, which stands in for its own.
    RemoveAbandonedTemporaries(path);
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
    if (std::filesystem::exists(status)) {
        std::string old;
        LineReader reader;
        const bool read =
            std::filesystem::is_regular_file(status) && reader.Open(path) && reader.ReadRest(old);
        if (read && old == page) {
            return;
        }
        if (!read || old.find(kOwnMark) == std::string::npos) {
            reporter.Protocol(FormatLine(kForeignPage, {path}));
            return;
        }
    }
    (void)WriteOutputFile(reporter, path, page, kOpenFailure, ReplaceFileAtomically);
}

}  // namespace sylva
