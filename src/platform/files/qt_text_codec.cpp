#include "platform/files/qt_text_codec.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <string_view>

namespace kiryuza {

namespace {

constexpr const char* kCodecName = "windows-31j";

bool isAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string toStdString(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Decodes without state; nothing on any error (decode() is lazy, so the QString is built first).
std::optional<QString> decodeStrict(std::string_view bytes) {
    QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) return std::nullopt;
    const QString text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (decoder.hasError()) return std::nullopt;
    return text;
}

// Unicode characters whose CP932 counterpart is a different code point in this converter.
void foldToCp932(QString& text) {
    for (QChar& c : text) {
        switch (c.unicode()) {
            case 0x301C:
                c = QChar(0xFF5E);
                break;  // WAVE DASH -> FULLWIDTH TILDE
            case 0x2016:
                c = QChar(0x2225);
                break;  // DOUBLE VERTICAL LINE -> PARALLEL TO
            case 0x2212:
                c = QChar(0xFF0D);
                break;  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
            default:
                break;
        }
    }
}

}  // namespace

std::optional<std::string> QtTextCodec::CP932から(const std::string& バイト列) {
    const std::optional<QString> text = decodeStrict(バイト列);
    if (!text) {
        // Without the converter only plain ASCII can be trusted to be the same in both.
        QStringDecoder probe(kCodecName);
        if (!probe.isValid() && isAscii(バイト列)) return バイト列;
        return std::nullopt;
    }
    return toStdString(text->toUtf8());
}

std::optional<std::string> QtTextCodec::CP932へ(const std::string& 文字列) {
    // Qt replaces broken UTF-8 with U+FFFD; a text that does not survive the trip is broken.
    QString text = QString::fromUtf8(文字列.data(), qsizetype(文字列.size()));
    if (toStdString(text.toUtf8()) != 文字列) return std::nullopt;
    foldToCp932(text);

    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    if (!encoder.isValid()) return isAscii(文字列) ? std::optional(文字列) : std::nullopt;
    // A character CP932 lacks comes out as 0xFC 0xFC with the error flag set.
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) return std::nullopt;
    // A one-way (best-fit) mapping would read back as another character: refuse it as well.
    const std::optional<QString> back =
        decodeStrict(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (!back || *back != text) return std::nullopt;
    return toStdString(bytes);
}

}  // namespace kiryuza
