// The small platform services of the window: modal message boxes, the 50 ms clock timer and
// the time of day.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

#include "platform/qt/interfaces.h"

class QDialog;
class QWidget;

namespace kiryuza::window {

// QMessageBox with Japanese buttons, modal over the window.
class MessageBoxes : public メッセージ窓 {
  public:
    explicit MessageBoxes(QWidget* parent) : parent_(parent) {}
    押されたボタン 表示(const std::string& 本文, const std::string& 題, ボタン種類 種類,
                        bool 警告) override;
    // For the end of the session: closes every open box and answers every later one at once,
    // unseen, each as its close button would (いいえ, or OK): the answer that lets nothing go
    // on that the player did not ask for.
    void closeAll();

  private:
    QWidget* parent_;
    std::vector<QDialog*> open_;
    bool closing_ = false;
};

// Seconds since midnight from the system clock, to the millisecond.
class TimeOfDay : public 時刻源 {
  public:
    double 現在秒() override;
    void 少し待つ() override;
};

// A QTimer ticking every 50 ms; each tick calls the handler.
class GameTimer : public QObject, public TimerInterface {
    Q_OBJECT

  public:
    static constexpr int kIntervalMs = 50;

    explicit GameTimer(QObject* parent = nullptr);
    void setTickHandler(std::function<void()> handler) { onTick_ = std::move(handler); }

    void 開始() override { timer_.start(); }
    void 停止() override { timer_.stop(); }
    bool 動作中() const override { return timer_.isActive(); }

  private:
    QTimer timer_;
    std::function<void()> onTick_;
};

}  // namespace kiryuza::window
