// What a protocol line says, without the markup some of its parts carry: the run names an item's
// type as its pages do ("Tools<BR>(Public)", a group "In &amp; Out"), and the list shows text.
#pragma once

#include <QString>

namespace sylva {

// `line` on one row: each line break ("<BR>", "<br/>", any case) reads as one space.
QString ProtocolTextOnOneRow(const QString& line);
// `line` with its line breaks as line breaks, for a box of several lines.
QString ProtocolTextWithBreaks(const QString& line);

}  // namespace sylva
