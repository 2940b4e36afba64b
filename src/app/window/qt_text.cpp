#include "app/window/qt_text.h"

#include <QStringDecoder>

namespace sylva {

QString ToQString(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) {
        return text;
    }
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToBytes(const QString& text) {
    return text.toStdString();
}

}  // namespace sylva
