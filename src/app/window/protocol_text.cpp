#include "app/window/protocol_text.h"

#include <QRegularExpression>
#include <utility>

namespace sylva {

namespace {

// The character references the pages escape text with. "&amp;" comes last so that an escaped
// reference ("&amp;lt;") ends as the text it stood for ("&lt;"), not as "<".
const std::pair<QLatin1StringView, QLatin1StringView> kReferences[] = {
    {QLatin1StringView("&lt;"), QLatin1StringView("<")},
    {QLatin1StringView("&gt;"), QLatin1StringView(">")},
    {QLatin1StringView("&quot;"), QLatin1StringView("\"")},
    {QLatin1StringView("&#39;"), QLatin1StringView("'")},
    {QLatin1StringView("&nbsp;"), QLatin1StringView(" ")},
    {QLatin1StringView("&amp;"), QLatin1StringView("&")},
};

QString Readable(const QString& line, QLatin1StringView lineBreak) {
    static const QRegularExpression kLineBreak(QStringLiteral("<br\\s*/?>"),
                                               QRegularExpression::CaseInsensitiveOption);
    // Most lines carry no markup at all: they are returned as they are, without a copy.
    if (!line.contains(u'<') && !line.contains(u'&')) {
        return line;
    }
    QString text = line;
    text.replace(kLineBreak, lineBreak);
    for (const auto& [reference, character] : kReferences) {
        text.replace(reference, character);
    }
    return text;
}

}  // namespace

QString ProtocolTextOnOneRow(const QString& line) {
    return Readable(line, QLatin1StringView(" "));
}

QString ProtocolTextWithBreaks(const QString& line) {
    return Readable(line, QLatin1StringView("\n"));
}

}  // namespace sylva
