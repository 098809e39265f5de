// One QApplication for the whole test run (optionally at a screen scale factor), and helpers
// for answering the modal boxes the code under test opens.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTemporaryFile>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/pictures/pictures.h"

namespace kiryuza::testing {

class WidgetsEnvironment : public ::testing::Environment {
  public:
    // `scale`, when given, is set as QT_SCALE_FACTOR before the application starts.
    explicit WidgetsEnvironment(const char* scale = nullptr) : scale_(scale) {}
    void SetUp() override {
        // Headless unless told otherwise, on a screen of a common laptop's size, where a
        // window at scale 2 meets the screen's edges.
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        if (platform.isEmpty() || platform == "offscreen") {
            screen_.setAutoRemove(true);
            if (screen_.open()) {
                screen_.write(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": 1600,
                    "height": 900, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
                screen_.close();
                qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screen_.fileName().toUtf8());
            } else {
                qputenv("QT_QPA_PLATFORM", "offscreen");
            }
        }
        if (scale_ != nullptr) qputenv("QT_SCALE_FACTOR", scale_);
        app_ = std::make_unique<QApplication>(argc_, argv_);
        pictures::registerMincho();
    }
    void TearDown() override { app_.reset(); }

  private:
    const char* scale_;
    QTemporaryFile screen_;
    int argc_ = 1;
    char name_[16] = "window_test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

// What a modal box showed when it was answered.
struct SeenBox {
    QString title;
    QString text;
    QString answer;
};

// Watches for modal boxes and presses a button in each: the one whose text `choose` returns
// (the first button when it returns an empty text or names none).
class ModalAnswerer {
  public:
    using Chooser = std::function<QString(const QWidget& box)>;

    explicit ModalAnswerer(Chooser choose = {}) : choose_(std::move(choose)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
        timer_.start();
    }
    const std::vector<SeenBox>& seen() const { return seen_; }

  private:
    void answer() {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr || !box->isVisible()) return;
        const QString wanted = choose_ ? choose_(*box) : QString();
        QAbstractButton* press = nullptr;
        for (QAbstractButton* b : box->findChildren<QAbstractButton*>()) {
            if (!b->isVisible()) continue;
            if (press == nullptr || b->text() == wanted) press = b;
            if (b->text() == wanted) break;
        }
        if (press == nullptr) return;
        QString text;
        for (const QLabel* l : box->findChildren<QLabel*>())
            if (!l->text().isEmpty()) text += (text.isEmpty() ? "" : "\n") + l->text();
        seen_.push_back({box->windowTitle(), text, press->text()});
        press->click();
    }

    Chooser choose_;
    QTimer timer_;
    std::vector<SeenBox> seen_;
};

}  // namespace kiryuza::testing
