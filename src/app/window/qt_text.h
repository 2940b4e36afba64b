// The one place where Sylva's byte strings meet Qt's strings.
//
// Sylva's text is bytes: UTF-8 typed into the window, or single-byte Windows-1252 text read from
// older sources and master indexes ("Rückgabe" with the byte 0xFC). Bytes that form valid UTF-8
// are shown as such; any other text is shown byte for byte as Latin-1 so that nothing is lost or
// replaced on screen.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace sylva {

QString ToQString(std::string_view bytes);
// What the user typed, as UTF-8 bytes.
std::string ToBytes(const QString& text);

}  // namespace sylva
