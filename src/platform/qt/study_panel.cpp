#include "platform/qt/study_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDockWidget>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/qt/record_panel.h"

namespace kiryuza::window {

namespace {

QString fromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The panel's width when the screen has room for it.
constexpr int kPreferredWidth = 300;

}  // namespace

// The evaluation graph: ▲'s chance to win after each entry, ▲ above the middle line; marked
// moves as dots, the entry on the board as a line. A click chooses the entry under it.
class EvaluationGraph : public QWidget {
  public:
    explicit EvaluationGraph(std::function<void(int)> chosen) : chosen_(std::move(chosen)) {
        // Lower where the screen is short, so that the panel fits beside the board.
        setMinimumHeight(60);
        setMaximumHeight(110);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        setCursor(Qt::PointingHandCursor);
        setToolTip(QStringLiteral("形勢（上が下側の有利）。クリックでその局面へ"));
    }
    void setPoints(std::vector<形勢点> points, bool lowerFirst) {
        points_ = std::move(points);
        lowerFirst_ = lowerFirst;
        update();
    }
    void setCurrent(int n) {
        current_ = n;
        update();
    }
    const std::vector<形勢点>& points() const { return points_; }
    QSize sizeHint() const override { return QSize(200, 110); }

    // The x of entry n, and the entry nearest to x.
    double xOf(int n) const {
        const int last = std::max(1, static_cast<int>(points_.size()) - 1);
        return kMargin + (width() - 2.0 * kMargin) * n / last;
    }
    int entryAt(double x) const {
        const int last = std::max(1, static_cast<int>(points_.size()) - 1);
        const double t = (x - kMargin) / std::max(1.0, width() - 2.0 * kMargin);
        return std::clamp(static_cast<int>(std::lround(t * last)), 0,
                          std::max(0, static_cast<int>(points_.size()) - 1));
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF area = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
        p.fillRect(rect(), QColor(250, 247, 238));
        p.setPen(QPen(QColor(200, 190, 170), 1));
        p.drawRect(area);
        const double mid = area.center().y();
        p.drawLine(QPointF(area.left(), mid), QPointF(area.right(), mid));
        const auto yOf = [&](double chance) { return area.bottom() - chance * area.height(); };
        // The curve through the known points, filled towards the middle: ▲ dark, △ light.
        QPainterPath line;
        bool open = false;
        for (std::size_t i = 0; i < points_.size(); ++i) {
            if (!points_[i].有り) {
                open = false;
                continue;
            }
            const QPointF at(xOf(static_cast<int>(i)), yOf(points_[i].勝率));
            open ? line.lineTo(at) : line.moveTo(at);
            open = true;
        }
        QPainterPath fill = line;
        p.setPen(QPen(QColor(60, 60, 60), 1.6));
        p.drawPath(line);
        for (std::size_t i = 0; i < points_.size(); ++i) {
            const 形勢点& pt = points_[i];
            if (!pt.有り || pt.印 == 講評印::なし) continue;
            const QColor c = pt.印 == 講評印::悪手 ? QColor(200, 30, 30) : QColor(230, 150, 0);
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawEllipse(QPointF(xOf(static_cast<int>(i)), yOf(pt.勝率)), 3.5, 3.5);
        }
        if (current_ >= 0 && current_ < static_cast<int>(points_.size())) {
            p.setPen(QPen(QColor(30, 90, 200), 1.5));
            const double x = xOf(current_);
            p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        }
        p.setPen(QColor(120, 110, 90));
        QFont small = font();
        small.setPointSizeF(std::max(7.0, small.pointSizeF() * 0.85));
        p.setFont(small);
        const QString upper = lowerFirst_ ? QStringLiteral("▲") : QStringLiteral("△");
        const QString lower = lowerFirst_ ? QStringLiteral("△") : QStringLiteral("▲");
        p.drawText(area.adjusted(3, 1, -3, -1), Qt::AlignTop | Qt::AlignLeft, upper);
        p.drawText(area.adjusted(3, 1, -3, -1), Qt::AlignBottom | Qt::AlignLeft, lower);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (points_.empty() || e->button() != Qt::LeftButton) return;
        chosen_(entryAt(e->position().x()));
    }

  private:
    static constexpr double kMargin = 6;
    std::function<void(int)> chosen_;
    std::vector<形勢点> points_;
    int current_ = -1;
    bool lowerFirst_ = true;  // the lower side, shown above the line, moved first: ▲
};

StudyPanel::StudyPanel(QMainWindow* window) : QObject(window), window_(window) {
    window_->installEventFilter(this);
}

QDockWidget* StudyPanel::dock(bool make) {
    if (!dock_ && make) build();
    return dock_;
}

void StudyPanel::build() {
    dock_ = new QDockWidget(QStringLiteral("棋譜と形勢"), window_);
    dock_->setObjectName(QString::fromLatin1(kObjectName));
    dock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    auto* body = new QWidget(dock_);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(6, 6, 6, 6);

    list_ = new QTreeWidget(body);
    list_->setObjectName(QStringLiteral("KIFU_LIST_ROWS"));
    list_->setColumnCount(4);
    list_->setHeaderLabels(
        {QStringLiteral("手数"), QStringLiteral("指し手"), QStringLiteral("時間"), QString()});
    list_->setRootIsDecorated(false);
    // The move column gives way to the others; a scroll bar under the rows would hide the last.
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setUniformRowHeights(true);
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (settingRows_ || item == nullptr || !handlers_.entryChosen) return;
        handlers_.entryChosen(list_->indexOfTopLevelItem(item));
    });
    list_->setMinimumHeight(list_->fontMetrics().lineSpacing() * 5);
    list_->viewport()->installEventFilter(this);
    layout->addWidget(list_, 1);

    graph_ = new EvaluationGraph([this](int n) {
        if (handlers_.entryChosen) handlers_.entryChosen(n);
    });
    graph_->setObjectName(QStringLiteral("KEISEI_GRAPH"));
    layout->addWidget(graph_);

    summary_ = new QLabel(body);
    summary_->setObjectName(QStringLiteral("KOUHYOU"));
    summary_->setWordWrap(true);
    layout->addWidget(summary_);

    analysis_ = new QCheckBox(QStringLiteral("検討"), body);
    analysis_->setObjectName(QStringLiteral("KENTOU"));
    connect(analysis_, &QCheckBox::clicked, this, [this] {
        if (handlers_.analysisToggled) handlers_.analysisToggled();
    });
    layout->addWidget(analysis_);
    // The lines change as the search deepens: a box of their own, so the panel keeps its size.
    analysisText_ = new QPlainTextEdit(body);
    analysisText_->setObjectName(QStringLiteral("KENTOU_TEXT"));
    analysisText_->setReadOnly(true);
    analysisText_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    const int line = analysisText_->fontMetrics().lineSpacing();
    analysisText_->setMinimumHeight(line * 3 + 10);
    analysisText_->setMaximumHeight(line * 5 + 10);
    analysisText_->setVisible(false);
    layout->addWidget(analysisText_);

    auto* buttons = new QHBoxLayout;
    auto* copy = new QPushButton(QStringLiteral("棋譜をコピー"), body);
    copy->setObjectName(QStringLiteral("KIFU_COPY"));
    connect(copy, &QPushButton::clicked, this, [this] {
        if (handlers_.copyClicked) handlers_.copyClicked();
    });
    auto* save = new QPushButton(QStringLiteral("KIF形式で保存…"), body);
    save->setObjectName(QStringLiteral("KIFU_KIF_SAVE"));
    connect(save, &QPushButton::clicked, this, [this] {
        if (handlers_.saveClicked) handlers_.saveClicked();
    });
    buttons->addWidget(copy);
    buttons->addWidget(save);
    layout->addLayout(buttons);

    dock_->setWidget(body);
    body->setMinimumWidth(narrowest());
    window_->addDockWidget(Qt::RightDockWidgetArea, dock_);
    dock_->hide();
    // Closed by its own button or shown again by the window's memory: the game hears of it.
    // Docked again by the player: room is made beside the board as when it is shown.
    connect(dock_, &QDockWidget::topLevelChanged, this, [this](bool floating) {
        if (!floating) QTimer::singleShot(0, this, [this] { placeShown(false); });
    });
    connect(dock_, &QDockWidget::visibilityChanged, this, [this](bool) {
        const bool shown = 表示中();
        if (shown == lastShown_) return;
        lastShown_ = shown;
        if (handlers_.shownChanged) handlers_.shownChanged(shown);
    });
}

// A press on a row asks the game for its entry and nothing more: the game then marks the row
// and scrolls it into the middle. Left to the list, the press would also select, and the
// release or a pixel of movement select again, whatever row the scroll had brought under the
// pointer, so that the highlighted row was not the entry on the board.
bool StudyPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        // First shown (the panel may have come back docked with the window's place) or
        // resized: the panel makes room for itself or gives way, once the window has settled.
        if (event->type() == QEvent::Show && !windowShown_) {
            windowShown_ = true;
            QTimer::singleShot(0, this, [this] { placeShown(false); });
        } else if (event->type() == QEvent::Resize && docked() && !resizePending_) {
            resizePending_ = true;
            QTimer::singleShot(0, this, [this] { windowResized(); });
        }
        return QObject::eventFilter(watched, event);
    }
    if (list_ == nullptr || watched != list_->viewport())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            list_->setFocus(Qt::MouseFocusReason);
            QTreeWidgetItem* item = list_->itemAt(mouse->position().toPoint());
            if (mouse->button() == Qt::LeftButton && item != nullptr && handlers_.entryChosen)
                handlers_.entryChosen(list_->indexOfTopLevelItem(item));
            return true;
        }
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
            return true;
        case QEvent::Resize:
            // The list grew shorter (the summary under it took more lines, the window shrank):
            // the entry on the board stays in sight, once the list has laid itself out anew.
            QTimer::singleShot(0, list_, [this] {
                if (QTreeWidgetItem* item = list_->currentItem()) list_->scrollToItem(item);
            });
            return QObject::eventFilter(watched, event);
        default:
            return QObject::eventFilter(watched, event);
    }
}

bool StudyPanel::表示中() const {
    return dock_ && !dock_->isHidden();
}

void StudyPanel::表示設定(bool 表示) {
    if (表示 == 表示中()) return;
    QDockWidget* d = dock(true);
    lastShown_ = 表示;
    if (表示) {
        d->setVisible(true);
        shownHere_ = true;
        placeShown(true);
        return;
    }
    // Hidden, the panel gives back what the window widened for it when it was shown; one found
    // docked as the window was put back gives back what the board cannot use. Either way the
    // board keeps its size.
    const PanelRoom r = room();
    const int back = shownHere_ ? std::min(widened_, r.panelWidth) : widthFreedBeyondBoard(r);
    d->setVisible(false);
    if (back > 0 && mayWiden()) window_->resize(window_->width() - back, window_->height());
    widened_ = 0;
}

int StudyPanel::narrowest() const {
    // The move list's columns with their longest texts, its scroll bar and frame, and the
    // buttons side by side; whichever is wider.
    const QFontMetrics fm(list_->font());
    const int margin = 2 * (list_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    int columns = 0;
    for (const char* sample : {"000", "△１六 香成 (17)", "00:00", "疑問手"})
        columns += fm.horizontalAdvance(QString::fromUtf8(sample)) + margin;
    columns += list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * list_->frameWidth();
    const QLayout* layout = dock_->widget()->layout();
    const QMargins m = layout->contentsMargins();
    return std::max(layout->minimumSize().width(), columns + m.left() + m.right());
}

bool StudyPanel::docked() const {
    return dock_ && !dock_->isHidden() && !dock_->isFloating();
}

bool StudyPanel::mayWiden() const {
    return !window_->isMaximized() && !window_->isFullScreen();
}

QRect StudyPanel::availableArea() const {
    const QScreen* s = window_->screen();
    if (s == nullptr) s = QGuiApplication::primaryScreen();
    return s != nullptr ? s->availableGeometry() : QRect();
}

int StudyPanel::separator() const {
    return window_->style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, window_);
}

PanelRoom StudyPanel::room() const {
    const QWidget* view = window_->centralWidget();
    PanelRoom r;
    r.windowWidth = window_->width();
    r.viewWidth = view->width();
    r.viewHeight = view->height();
    r.panelWidth = docked() ? r.windowWidth - r.viewWidth : 0;
    r.widestWindow = availableArea().width() - (window_->frameGeometry().width() - r.windowWidth);
    r.mayWiden = mayWiden();
    // What the dock takes beside its contents: its separator and frame.
    const int beside = docked() ? r.panelWidth - dock_->widget()->width() : separator();
    r.panelMinimum = narrowest() + beside;
    r.panelPreferred = std::max(kPreferredWidth, narrowest()) + beside;
    return r;
}

void StudyPanel::placeShown(bool mayFloat) {
    if (!表示中() || !window_->isVisible() || window_->centralWidget() == nullptr) return;
    const QRect area = availableArea();
    if (dock_->isFloating()) {
        dock_->setGeometry(fitInside(dock_->geometry(), area));
        return;
    }
    window_->layout()->activate();
    const PanelRoom r = room();
    const PanelPlace place = panelShown(r, mayFloat);
    if (place.floats) {
        // Beside the window where the screen has room, else at the screen's right edge; the
        // player may move it anywhere.
        const QRect frame = window_->frameGeometry();
        const int width = r.panelPreferred - separator();
        const int left =
            frame.right() + width < area.right() ? frame.right() + 1 : area.right() + 1 - width;
        dock_->setFloating(true);
        dock_->setGeometry(fitInside(QRect(left, frame.top(), width, frame.height()), area));
        return;
    }
    if (place.windowWidth != r.windowWidth) {
        const int more = place.windowWidth - r.windowWidth;
        widened_ += more;
        const QRect frame = window_->frameGeometry();
        const QRect wanted(frame.topLeft(), QSize(frame.width() + more, frame.height()));
        window_->resize(place.windowWidth, window_->height());
        window_->move(fitInside(wanted, area).topLeft());
        window_->layout()->activate();
    }
    setDockedWidth(place.panelWidth);
}

void StudyPanel::setDockedWidth(int taken) {
    const int beside = window_->width() - window_->centralWidget()->width() - dock_->width();
    const int width = taken - std::max(0, beside);
    if (width > 0 && std::abs(width - dock_->width()) > 1)
        window_->resizeDocks({dock_}, {width}, Qt::Horizontal);
}

void StudyPanel::windowResized() {
    resizePending_ = false;
    if (!docked() || !window_->isVisible()) return;
    window_->layout()->activate();
    setDockedWidth(dockedPanelWidth(room(), window_->width()));
}

void StudyPanel::focusList() {
    if (!表示中()) return;
    list_->setFocus(Qt::ShortcutFocusReason);
}

bool StudyPanel::listHasFocus() const {
    return list_ != nullptr && list_->hasFocus();
}

void StudyPanel::行を置く(const std::vector<一覧行>& 行) {
    if (!dock(false)) return;
    settingRows_ = true;
    const int have = list_->topLevelItemCount();
    const int want = static_cast<int>(行.size());
    for (int i = have; i > want; --i) delete list_->takeTopLevelItem(i - 1);
    for (int i = 0; i < want; ++i) {
        QTreeWidgetItem* item = i < have ? list_->topLevelItem(i) : new QTreeWidgetItem(list_);
        const 一覧行& r = 行[static_cast<std::size_t>(i)];
        item->setText(0, fromUtf8(r.手数));
        item->setText(1, fromUtf8(r.手));
        item->setText(2, fromUtf8(r.時間));
        item->setText(3, fromUtf8(r.印));
        item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setForeground(3, r.印 == "悪手" ? QColor(200, 30, 30) : QColor(200, 120, 0));
    }
    settingRows_ = false;
}

void StudyPanel::選択設定(int n) {
    if (!dock(false)) return;
    settingRows_ = true;
    if (QTreeWidgetItem* item = list_->topLevelItem(n)) {
        list_->setCurrentItem(item);
        list_->scrollToItem(item, QAbstractItemView::PositionAtCenter);
    }
    graph_->setCurrent(n);
    settingRows_ = false;
}

void StudyPanel::形勢を置く(const std::vector<形勢点>& 点, bool 下手が先手) {
    if (dock(false)) graph_->setPoints(点, 下手が先手);
}

void StudyPanel::講評を置く(const std::string& 文) {
    if (dock(false)) summary_->setText(fromUtf8(文));
}

bool StudyPanel::検討中() const {
    return analysis_ != nullptr && analysis_->isChecked();
}

void StudyPanel::検討設定(bool 入) {
    if (!dock(false)) return;
    analysis_->setChecked(入);
    analysisText_->setVisible(入);
    // The list is shorter or taller now: keep the entry on the board in sight.
    if (QTreeWidgetItem* item = list_->currentItem())
        list_->scrollToItem(item, QAbstractItemView::PositionAtCenter);
}

void StudyPanel::検討を置く(const std::string& 文) {
    if (!dock(false)) return;
    analysisText_->setPlainText(fromUtf8(文));
}

void StudyPanel::文を写す(const std::string& 文) {
    QApplication::clipboard()->setText(fromUtf8(文));
}

std::optional<std::string> StudyPanel::保存先を尋ねる(const std::string& 既定名) {
    // The documents folder exists only on some desktops: where it does not, the dialog would
    // open (and Enter save) in the folder the program was started from.
    const QString folder = startFolder();
    const QString path = QFileDialog::getSaveFileName(window_, QStringLiteral("KIF形式で保存"),
                                                      folder + u'/' + fromUtf8(既定名),
                                                      QStringLiteral("KIF形式の棋譜 (*.kif)"));
    if (path.isEmpty()) return std::nullopt;
    const QByteArray bytes = path.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace kiryuza::window
