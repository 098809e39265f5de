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
// Converters are made afresh for every call: in Qt 6.4 resetState() does not clear the error
// flag of an ICU converter, so one that has seen an error would refuse everything after it.
std::optional<QString> decodeStrict(std::string_view bytes) {
    QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) return std::nullopt;
    const QString text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (decoder.hasError()) return std::nullopt;
    return text;
}

// WAVE DASH, DOUBLE VERTICAL LINE and MINUS SIGN: CP932 holds them, but this converter knows
// them only as FULLWIDTH TILDE, PARALLEL TO and FULLWIDTH HYPHEN-MINUS.
void foldToCp932(QString& text) {
    text.replace(QChar(0x301C), QChar(0xFF5E));
    text.replace(QChar(0x2016), QChar(0x2225));
    text.replace(QChar(0x2212), QChar(0xFF0D));
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
