#include "platform/qt/about_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "interfaces/product.h"
#include "platform/pictures/pictures.h"

namespace kiryuza::window {

namespace {

QString fromView(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("%1について").arg(fromView(製品名)));
    setObjectName(QStringLiteral("about"));
    auto* layout = new QVBoxLayout(this);

    auto* title = new QLabel(this);
    const QImage picture = pictures::image(pictures::絵_タイトル, devicePixelRatioF());
    title->setPixmap(QPixmap::fromImage(picture));
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);

    auto* name = new QLabel(
        QStringLiteral("<b>%1</b>　バージョン %2").arg(fromView(製品名), fromView(版)), this);
    name->setAlignment(Qt::AlignCenter);
    name->setObjectName(QStringLiteral("name"));
    layout->addWidget(name);

    auto* description = new QLabel(QStringLiteral("すべての駒が成った姿で始まる変わり将棋を、"
                                                  "人間同士またはコンピュータと対局できます。"),
                                   this);
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignCenter);
    layout->addWidget(description);

    auto* facts =
        new QLabel(QStringLiteral("ライセンス：%1<br>Copyright © %2<br>ビルド日：%3")
                       .arg(QString::fromLatin1(kLicence), QString::fromLatin1(kCopyright),
                            QString::fromLatin1(KIRYUZA_BUILD_DATE)),
                   this);
    facts->setObjectName(QStringLiteral("facts"));
    facts->setTextFormat(Qt::RichText);
    facts->setAlignment(Qt::AlignCenter);
    layout->addWidget(facts);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

}  // namespace kiryuza::window
