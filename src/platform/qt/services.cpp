#include "platform/qt/services.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTime>
#include <chrono>
#include <thread>

namespace kiryuza::window {

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

押されたボタン MessageBoxes::表示(const std::string& 本文, const std::string& 題, ボタン種類 種類,
                                  bool 警告) {
    const 押されたボタン closed =
        種類 == ボタン種類::OK ? 押されたボタン::OK : 押されたボタン::いいえ;
    if (closing_) return closed;
    QMessageBox box(parent_);
    open_.push_back(&box);
    struct Closed {
        std::vector<QDialog*>& open;
        ~Closed() { open.pop_back(); }
    } remove{open_};
    box.setWindowTitle(fromUtf8(題));
    // The game's texts break lines with carriage returns; a label breaks on line feeds.
    QString text = fromUtf8(本文);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(警告 ? QMessageBox::Warning : QMessageBox::NoIcon);
    if (種類 != ボタン種類::OK) {
        QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
        yes->setObjectName(QStringLiteral("yes"));
        no->setObjectName(QStringLiteral("no"));
        box.setDefaultButton(種類 == ボタン種類::はいいいえ_いいえ既定 ? no : yes);
        box.setEscapeButton(no);
        box.exec();
        if (closing_) return closed;
        return box.clickedButton() == yes ? 押されたボタン::はい : 押されたボタン::いいえ;
    }
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return 押されたボタン::OK;
}

void MessageBoxes::closeAll() {
    closing_ = true;
    for (QDialog* box : open_) box->reject();
}

double TimeOfDay::現在秒() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void TimeOfDay::少し待つ() {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

GameTimer::GameTimer(QObject* parent) : QObject(parent) {
    timer_.setInterval(kIntervalMs);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (onTick_) onTick_();
    });
}

}  // namespace kiryuza::window
