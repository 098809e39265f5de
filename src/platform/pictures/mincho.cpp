#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

#include "platform/pictures/drawing.h"
#include "platform/pictures/pictures.h"

namespace kiryuza::pictures {

namespace {

std::mutex fontMutex;

// The best installed face for Japanese Mincho text: IPAex明朝 first, then other known Mincho
// faces, then any Japanese serif, then any Japanese face at all.
QString findMinchoFamily() {
    const QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
    static const char* const preferred[] = {
        "IPAex明朝",        "IPAexMincho", "IPA明朝",           "IPAMincho",
        "IPAP明朝",         "IPAPMincho",  "Noto Serif CJK JP", "Source Han Serif JP",
        "Source Han Serif", "Takao明朝",   "TakaoMincho",       "HanaMinA"};
    for (const char* name : preferred)
        if (families.contains(QString::fromUtf8(name), Qt::CaseInsensitive))
            return QString::fromUtf8(name);
    for (const QString& family : families)
        if (family.contains(QStringLiteral("明朝")) ||
            family.contains(QStringLiteral("Mincho"), Qt::CaseInsensitive) ||
            family.contains(QStringLiteral("Serif"), Qt::CaseInsensitive))
            return family;
    return families.isEmpty() ? QString() : families.first();
}

}  // namespace

QString registerMincho() {
    std::lock_guard lock(fontMutex);
    static bool registered = false;
    static QString family;
    if (registered || !QGuiApplication::instance()) return family;
    family = findMinchoFamily();
    if (!family.isEmpty()) QFont::insertSubstitution(QString::fromUtf8(minchoName), family);
    registered = true;
    return family;
}

QFont minchoFont(qreal pointSize) {
    const QString family = registerMincho();
    if (!std::isfinite(pointSize) || pointSize <= 0) pointSize = 12;
    QFont font;
    QStringList families{QString::fromUtf8(minchoName)};
    if (!family.isEmpty()) families << family;
    font.setFamilies(families);
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(std::clamp(pointSize, 1.0, 400.0));
    font.setWeight(QFont::Bold);
    return font;
}

namespace detail {

QPainterPath glyphOutline(const QString& text) {
    if (!QGuiApplication::instance()) return {};
    static std::mutex mutex;
    static std::map<QString, QPainterPath> outlines;
    std::lock_guard lock(mutex);
    if (auto it = outlines.find(text); it != outlines.end()) return it->second;
    QFont font = minchoFont(12);
    font.setPixelSize(100);
    font.setHintingPreference(QFont::PreferNoHinting);
    QPainterPath path;
    path.addText(0, 0, font, text);
    path.setFillRule(Qt::WindingFill);
    outlines.emplace(text, path);
    return path;
}

}  // namespace detail

}  // namespace kiryuza::pictures
