#include "platform/qt/rules_window.h"

#include <QApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "display/rules_guide.h"
#include "platform/pictures/pictures.h"

namespace kiryuza::window {

namespace {

// The page's colours: warm paper, dark ink, the board's green for headings.
const QColor kPaper(0xfa, 0xf6, 0xec);
const QColor kInk(0x2b, 0x27, 0x22);
const QColor kHeading(0x1f, 0x51, 0x30);
// The marks of the pictures: where a piece may go, the far zone, the grid.
const QColor kMark(0x1b, 0x7a, 0x46);
const QColor kZone(0xe0, 0x3c, 0x50, 62);
const QColor kZoneEdge(0xb0, 0x2e, 0x24);
const QColor kGrid(0x3a, 0x2a, 0x14);

// A square of the pictures, in logical pixels: the game's piece picture scaled down.
constexpr double kCellWidth = 27;
constexpr double kCellHeight = 30.5;
constexpr double kFrame = 2;

QString utf8(const char* s) {
    return QString::fromUtf8(s);
}

QString pieceName(int code) {
    return utf8(駒の名前(code));
}

// The game's picture of a code at a size in device pixels, drawn once per size.
QImage pictureAt(int code, QSize pixels) {
    static std::map<std::tuple<int, int, int>, QImage> cache;
    const auto key = std::make_tuple(code, pixels.width(), pixels.height());
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    if (cache.size() > 400) cache.clear();  // only reached after many changes of scale
    return cache.emplace(key, pictures::drawn(code, pixels)).first->second;
}

// Part of the board as a picture: the game's own squares and pieces, the far zone tinted, a dot
// on every square a piece may go to and the example's move as an arrow. Drawn at the screen's
// pixel ratio, again whenever that changes.
class BoardPicture : public QWidget {
  public:
    BoardPicture(const 盤の図& 図, QWidget* parent) : QWidget(parent), 図_(図) {
        setObjectName(QStringLiteral("boardPicture"));
        setFixedSize(sizeHint());
        int marks = 0;
        for (int x = 図.左; x <= 図.右; ++x)
            for (int y = 図.上; y <= 図.下; ++y) marks += 図.桝[x][y].行先 ? 1 : 0;
        // What the picture shows, for tests to compare with what was painted.
        setProperty("marks", marks);
        setProperty("arrow", 図.手あり);
        setProperty("markColour", kMark);
    }

    QSize sizeHint() const override {
        return QSize(static_cast<int>(std::ceil(columns() * kCellWidth + 2 * kFrame)),
                     static_cast<int>(std::ceil(rows() * kCellHeight + 2 * kFrame)));
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        const qreal ratio = devicePixelRatioF();
        if (image_.isNull() || image_.devicePixelRatio() != ratio) image_ = render(ratio);
        QPainter painter(this);
        painter.drawImage(QPointF(0, 0), image_);
    }

  private:
    int columns() const { return 図_.右 - 図_.左 + 1; }
    int rows() const { return 図_.下 - 図_.上 + 1; }

    // The edges of column or row i (0 = the picture's first) in device pixels.
    static int edge(int i, double step, qreal ratio) {
        return static_cast<int>(std::lround((kFrame + i * step) * ratio));
    }
    QRect cell(int x, int y, qreal ratio) const {
        const int i = x - 図_.左;
        const int j = y - 図_.上;
        const int left = edge(i, kCellWidth, ratio);
        const int top = edge(j, kCellHeight, ratio);
        return QRect(left, top, edge(i + 1, kCellWidth, ratio) - left,
                     edge(j + 1, kCellHeight, ratio) - top);
    }

    QImage render(qreal ratio) const {
        const QSize logical = sizeHint();
        QImage image(std::max(1, static_cast<int>(std::lround(logical.width() * ratio))),
                     std::max(1, static_cast<int>(std::lround(logical.height() * ratio))),
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(kGrid);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        for (int x = 図_.左; x <= 図_.右; ++x) {
            for (int y = 図_.上; y <= 図_.下; ++y) {
                const QRect r = cell(x, y, ratio);
                p.drawImage(r.topLeft(), pictureAt(図_.桝[x][y].駒, r.size()));
                if (図_.桝[x][y].敵陣) p.fillRect(r, kZone);
            }
        }
        drawGrid(p, ratio);
        drawZoneEdge(p, ratio);
        for (int x = 図_.左; x <= 図_.右; ++x)
            for (int y = 図_.上; y <= 図_.下; ++y)
                if (図_.桝[x][y].行先) drawMark(p, cell(x, y, ratio), ratio);
        if (図_.手あり) drawArrow(p, ratio);
        p.end();
        image.setDevicePixelRatio(ratio);
        return image;
    }

    void drawGrid(QPainter& p, qreal ratio) const {
        const int line = std::max(1, static_cast<int>(std::lround(ratio)));
        const int right = edge(columns(), kCellWidth, ratio);
        const int bottom = edge(rows(), kCellHeight, ratio);
        const int left = edge(0, kCellWidth, ratio);
        const int top = edge(0, kCellHeight, ratio);
        for (int i = 1; i < columns(); ++i)
            p.fillRect(edge(i, kCellWidth, ratio) - line / 2, top, line, bottom - top, kGrid);
        for (int j = 1; j < rows(); ++j)
            p.fillRect(left, edge(j, kCellHeight, ratio) - line / 2, right - left, line, kGrid);
    }

    // A firm line where the far zone ends, so that its edge reads at a glance.
    void drawZoneEdge(QPainter& p, qreal ratio) const {
        for (int y = 図_.上; y < 図_.下; ++y) {
            if (!図_.桝[図_.左][y].敵陣 || 図_.桝[図_.左][y + 1].敵陣) continue;
            const int at = edge(y + 1 - 図_.上, kCellHeight, ratio);
            const int thick = std::max(2, static_cast<int>(std::lround(2 * ratio)));
            p.fillRect(edge(0, kCellWidth, ratio), at - thick / 2,
                       edge(columns(), kCellWidth, ratio) - edge(0, kCellWidth, ratio), thick,
                       kZoneEdge);
        }
    }

    static void drawMark(QPainter& p, const QRect& r, qreal ratio) {
        const double d = 0.38 * std::min(r.width(), r.height());
        p.setPen(QPen(Qt::white, 1.2 * ratio));
        p.setBrush(kMark);
        p.drawEllipse(QRectF(r).center(), d / 2, d / 2);
    }

    // The example's move: from the edge of the piece's square into the square it goes to.
    void drawArrow(QPainter& p, qreal ratio) const {
        const QPointF from = QRectF(cell(図_.元X, 図_.元Y, ratio)).center();
        const QPointF to = QRectF(cell(図_.先X, 図_.先Y, ratio)).center();
        const QPointF step = to - from;
        const double length = std::hypot(step.x(), step.y());
        if (length <= 0) return;
        const QPointF unit = step / length;
        const QPointF start = from + unit * (0.42 * kCellHeight * ratio);
        const QPointF tip = to + unit * (0.12 * kCellHeight * ratio);
        const QPointF side(-unit.y(), unit.x());
        const double head = 0.22 * kCellHeight * ratio;
        QPainterPath arrow;
        arrow.moveTo(start);
        arrow.lineTo(tip - unit * head * 0.6);
        QPolygonF headShape(
            {tip, tip - unit * head + side * head * 0.6, tip - unit * head - side * head * 0.6});
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, 4.5 * ratio, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(arrow);
        p.setPen(QPen(Qt::white, 2 * ratio, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::white);
        p.drawPolygon(headShape);
        p.setPen(QPen(kMark, 2.2 * ratio, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(arrow);
        p.setPen(Qt::NoPen);
        p.setBrush(kMark);
        p.drawPolygon(headShape);
    }

    盤の図 図_;
    QImage image_;
};

// The game's title picture, painted as vectors at whatever scale the screen has.
class TitlePicture : public QWidget {
  public:
    explicit TitlePicture(QWidget* parent = nullptr) : QWidget(parent) {
        setFixedSize(pictures::naturalSize(pictures::絵_タイトル));
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        pictures::paint(painter, pictures::絵_タイトル, QRectF(rect()));
    }
};

// One square of the board holding one piece: a piece shown on its own.
盤の図 onePiece(int code) {
    盤の図 図;
    図.左 = 図.右 = 図.上 = 図.下 = 図の中央;
    図.桝[図の中央][図の中央].駒 = code;
    return 図;
}

// Text for reading at length: a little larger than the menus'. A style sheet stops fonts
// passing from the page to its labels, so each label is given it.
QFont readingFont() {
    QFont font = QApplication::font();
    font.setPointSizeF(font.pointSizeF() + 1);
    return font;
}

// A picture with a caption under it.
QWidget* captioned(QWidget* picture, const QString& caption) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    picture->setParent(box);
    layout->addWidget(picture, 0, Qt::AlignHCenter | Qt::AlignBottom);
    auto* label = new QLabel(caption, box);
    label->setObjectName(QStringLiteral("caption"));
    label->setFont(readingFont());
    label->setAlignment(Qt::AlignHCenter);
    layout->addWidget(label);
    return box;
}

// The arrow between two pictures, with a word above it.
QLabel* between(const QString& word) {
    auto* label = new QLabel(
        QStringLiteral("<div align='center'><small>%1</small><br><big>→</big></div>").arg(word));
    label->setObjectName(QStringLiteral("between"));
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(word.isEmpty() ? 30 : 46);
    return label;
}

// What each kind of piece does, in the teaching order, by its plain name.
struct PieceText {
    const char* 元;
    const char* 説明;
};
constexpr PieceText kPieceTexts[] = {
    {"王",
     "まわりの8マスのどこへでも、1マスずつ動けます。姿は変わりません。"
     "取られたら負けなので、大事に守りましょう。"},
    {"金",
     "前・斜め前・横・真後ろへ1マスずつ動けます。斜め後ろへは行けません。姿は変わりません。"
     "この動きを「金の動き」と呼びます。"},
    {"歩", "「と」は金と同じ動きです。敵陣に入ると「歩」に戻り、前へ1マスしか進めなくなります。"},
    {"香",
     "「香成」（駒の字は「杏」）は金と同じ動きです。「香」に戻ると、前へまっすぐ、"
     "ほかの駒に当たるまで何マスでも進めます。後ろや横へは動けません。"},
    {"桂",
     "「桂成」（駒の字は「圭」）は金と同じ動きです。「桂」に戻ると、2つ前の左右どちらかへ"
     "跳びます。間にある駒は跳び越せますが、ほかのマスへは動けません。"},
    {"銀",
     "「銀成」（駒の字は「全」）は金と同じ動きです。「銀」に戻ると、前・斜め前・斜め後ろへ"
     "1マスずつ動けます。横と真後ろへは行けません。"},
    {"角",
     "「角成」（駒の字は「馬」）は、斜めへ何マスでも進めるうえ、上下左右へも1マス動けます。"
     "「角」に戻ると、斜めに進むだけになります。"},
    {"飛",
     "「飛成」（駒の字は「龍」）は、縦と横へ何マスでも進めるうえ、斜めへも1マス動けます。"
     "「飛」に戻ると、縦と横に進むだけになります。"},
};

QString pieceText(int plainCode) {
    const QString name = pieceName(plainCode);
    for (const PieceText& t : kPieceTexts)
        if (utf8(t.元) == name) return utf8(t.説明);
    return {};
}

class RulesWindow : public QWidget {
  public:
    explicit RulesWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
        setObjectName(QStringLiteral("rules"));
        setWindowTitle(QStringLiteral("遊び方"));
        setAttribute(Qt::WA_DeleteOnClose);

        auto* scroll = new QScrollArea(this);
        scroll->setObjectName(QStringLiteral("scroll"));
        scroll->setWidgetResizable(true);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        scroll->setFrameShape(QFrame::NoFrame);
        auto* page = new QWidget(scroll);
        page->setObjectName(QStringLiteral("page"));
        page->setAutoFillBackground(true);
        QPalette palette = page->palette();
        palette.setColor(QPalette::Window, kPaper);
        palette.setColor(QPalette::WindowText, kInk);
        palette.setColor(QPalette::Text, kInk);
        page->setPalette(palette);
        page->setStyleSheet(styleSheet());
        layout_ = new QVBoxLayout(page);
        layout_->setContentsMargins(20, 18, 20, 28);
        layout_->setSpacing(10);
        scroll->setWidget(page);

        auto* outer = new QVBoxLayout(this);
        outer->setContentsMargins(0, 0, 0, 0);
        outer->addWidget(scroll);

        build();

        for (const QKeySequence& key :
             {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close)}) {
            auto* shortcut = new QShortcut(key, this);
            connect(shortcut, &QShortcut::activated, this, &QWidget::close);
        }
    }

  private:
    static QString styleSheet() {
        return QStringLiteral(
                   "QWidget#page { background: %1; }"
                   "QLabel { color: %2; }"
                   "QLabel#title { color: %3; }"
                   "QLabel#heading { color: %3; border-bottom: 2px solid #c8b98f;"
                   " padding-bottom: 3px; margin-top: 14px; }"
                   "QLabel#caption { color: %2; }"
                   "QFrame#card { background: #fffdf8; border: 1px solid #e3d8bf;"
                   " border-radius: 6px; }"
                   "QFrame#card QLabel { background: transparent; border: none; }"
                   "QFrame#pair { background: #f5eedd; border: none; border-radius: 5px; }")
            .arg(kPaper.name(), kInk.name(), kHeading.name());
    }

    // A paragraph of the page.
    QLabel* paragraph(const QString& html) {
        QLabel* label = text(html);
        layout_->addWidget(label);
        return label;
    }

    // A paragraph for a card or a row, placed by the caller.
    static QLabel* text(const QString& html) {
        auto* label = new QLabel(html);
        label->setFont(readingFont());
        label->setTextFormat(Qt::RichText);
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    }

    void heading(const QString& text) {
        auto* label = new QLabel(text);
        label->setObjectName(QStringLiteral("heading"));
        label->setFont(pictures::minchoFont(15));
        layout_->addWidget(label);
    }

    // A framed box for one subject: its own vertical layout.
    QVBoxLayout* card() {
        auto* frame = new QFrame;
        frame->setObjectName(QStringLiteral("card"));
        auto* box = new QVBoxLayout(frame);
        box->setContentsMargins(14, 10, 14, 12);
        box->setSpacing(8);
        layout_->addWidget(frame);
        return box;
    }

    // A picture with the name of a piece under it.
    static QWidget* named(const 盤の図& 図, int code) {
        QWidget* box = captioned(new BoardPicture(図, nullptr), pieceName(code));
        box->findChild<QLabel*>(QStringLiteral("caption"))->setFont(pictures::minchoFont(12));
        return box;
    }

    // Two pictures side by side, an arrow between them, on a tinted ground.
    static QWidget* pair(QWidget* before, const QString& word, QWidget* after) {
        auto* frame = new QFrame;
        frame->setObjectName(QStringLiteral("pair"));
        auto* row = new QHBoxLayout(frame);
        row->setContentsMargins(5, 6, 5, 4);
        row->setSpacing(2);
        row->addWidget(before);
        row->addWidget(between(word));
        row->addWidget(after);
        return frame;
    }

    // Widgets in rows of `columns`, the whole centred in `box`.
    static void centredGrid(QVBoxLayout* box, const std::vector<QWidget*>& items, int columns,
                            int spacing) {
        auto* grid = new QGridLayout;
        grid->setHorizontalSpacing(spacing);
        grid->setVerticalSpacing(10);
        for (int n = 0; n < static_cast<int>(items.size()); ++n)
            grid->addWidget(items[n], n / columns, n % columns, Qt::AlignCenter);
        auto* centre = new QHBoxLayout;
        centre->addStretch(1);
        centre->addLayout(grid);
        centre->addStretch(1);
        box->addLayout(centre);
    }

    void build() {
        auto* top = new QHBoxLayout;
        auto* title = new QLabel(QStringLiteral("遊び方"));
        title->setObjectName(QStringLiteral("title"));
        title->setFont(pictures::minchoFont(22));
        top->addWidget(title, 1, Qt::AlignBottom);
        top->addWidget(new TitlePicture, 0, Qt::AlignBottom);
        layout_->addLayout(top);
        paragraph(QStringLiteral(
            "このゲームは、<b>すべての駒が成った姿で始まる</b>変わり将棋です。"
            "ふつうの将棋とは逆に、駒は敵陣に入ると成る前の姿（元の駒）に戻ります。"
            "この画面は対局しながら読めます。閉じるには Esc キーを押してください。"));
        boardAndSides();
        pieces();
        changeOfForm();
        drops();
        endOfGame();
        menusAndKeys();
        layout_->addStretch(1);
    }

    void boardAndSides() {
        heading(QStringLiteral("1. 盤と先手・後手"));
        paragraph(QStringLiteral(
            "盤は縦9段・横9筋の81マスです。あなたの駒は盤の下側に並び、<b>上へ向かって</b>"
            "進みます。"));
        paragraph(QStringLiteral(
            "<b>コンピュータと対局する</b>ときは、コンピュータが上側を受け持ちます。"
            "「対局」→「対局(COM)」で「先手」を選ぶとあなたから、「後手」を選ぶとコンピュータから"
            "指し始めます。"));
        paragraph(QStringLiteral(
            "<b>二人で対局する</b>ときは「対局」→「対局(人間)」→「スタート」を選びます。"
            "下側の人が先手で先に指し、上側の人が後手です。一つの画面とマウスを交代で使います。"));

        QVBoxLayout* box = card();
        auto* row = new QHBoxLayout;
        row->addWidget(
            captioned(new BoardPicture(初めの並びの図(), nullptr), QStringLiteral("始めの並び")), 0,
            Qt::AlignTop);
        QLabel* note = text(QStringLiteral(
            "どちらの駒も、成った姿で並んでいます。<br><br>"
            "色のついた上の3段が、あなたにとっての<b>敵陣</b>です。あなたの駒はここで元の姿に"
            "戻ります。相手の駒は、下の3段（あなたの陣地）で戻ります。<br><br>"
            "角成（馬）は左、飛成（龍）は右。上側の駒は向きが逆さまに描かれています。"));
        row->addSpacing(8);
        row->addWidget(note, 1, Qt::AlignTop);
        box->addLayout(row);

        paragraph(QStringLiteral(
            "<b>指し方：</b>動かしたい自分の駒（または盤の横の持駒）をクリックし、続けて行き先の"
            "マスをクリックします。行けないマスを選ぶと、音が鳴って取り消されます。"
            "「ｵﾌﾟｼｮﾝ」→「移動指導」に印をつけておくと、駒を選んだときに行けるマスが白い枠で"
            "示されます（相手の駒をクリックすると、その駒の行けるマスも見られます）。"));
        paragraph(QStringLiteral(
            "王手をかけられても、ほかの手を指すことはできます。ただし王を取られたら負けです。"));
    }

    void pieces() {
        heading(QStringLiteral("2. 駒の動き"));
        paragraph(
            QStringLiteral(
                "図は、盤の真ん中に置いた駒が動けるマスを<span style='color:%1'>●</span>で"
                "示しています（上があなたから見た前です）。左が始めの姿（成った姿）、右が敵陣で"
                "戻ったあとの姿です。角・飛・香は、進む先に駒があるとその先へは行けません"
                "（相手の駒なら、そのマスで取れます）。")
                .arg(kMark.name()));
        for (const 駒の形& 形 : 教える駒の順()) {
            QVBoxLayout* box = card();
            const QString title = 形.成駒 == 形.元駒 ? pieceName(形.元駒)
                                                     : QStringLiteral("%1 → %2").arg(
                                                           pieceName(形.成駒), pieceName(形.元駒));
            auto* name = new QLabel(title);
            name->setFont(pictures::minchoFont(13));
            box->addWidget(name);
            box->addWidget(text(pieceText(形.元駒)));
            auto* row = new QHBoxLayout;
            row->addStretch(1);
            row->addWidget(named(動きの図(形.成駒), 形.成駒), 0, Qt::AlignBottom);
            if (形.成駒 != 形.元駒) {
                row->addWidget(between(QStringLiteral("敵陣で")), 0, Qt::AlignVCenter);
                row->addWidget(named(動きの図(形.元駒), 形.元駒), 0, Qt::AlignBottom);
            }
            row->addStretch(1);
            box->addLayout(row);
        }
    }

    void changeOfForm() {
        heading(QStringLiteral("3. 敵陣で元の姿に戻る"));
        paragraph(QStringLiteral(
            "<b>敵陣</b>は、あなたから見て奥の3段です。成った駒は、ここで元の姿に戻ります。"
            "<ul style='margin-left:-20px'>"
            "<li><b>と・香成・桂成</b>：行き先が敵陣のマスのときに戻ります。</li>"
            "<li><b>銀成・角成・飛成</b>：行き先が敵陣のときだけでなく、敵陣の中から動いたとき"
            "（敵陣から出るときも）戻ります。</li>"
            "<li><b>金と王</b>は姿が変わりません。</li></ul>"
            "一度戻った駒は、盤の上ではもう成った姿になりません。マウスやキーボードで指した手では"
            "必ず戻ります。ただし「ｵﾌﾟｼｮﾝ」の「成・不成を選ぶ」にチェックを付けると、移動先に"
            "二つの姿が並び、どちらにするかを選べます。コンピュータは、戻すか成ったままでいるかを"
            "選んで指すことがあります。"));
        const std::vector<成りの例> examples = 成りの例一覧();
        addExamples(examples, false,
                    QStringLiteral("<b>敵陣に入るとき</b>（図の色のついた段が敵陣です）"));
        addExamples(
            examples, true,
            QStringLiteral("<b>敵陣から出るとき</b>　持駒を敵陣に打つと、成った姿のまま敵陣に"
                           "置けます。そこから動くと、銀成・角成・飛成は外へ出るときにも戻ります。"
                           "と・香成・桂成は、敵陣の外へ出るだけなら戻りません。"));
    }

    void addExamples(const std::vector<成りの例>& examples, bool leaving, const QString& intro) {
        QVBoxLayout* box = card();
        box->addWidget(text(intro));
        std::vector<QWidget*> pairs;
        for (const 成りの例& e : examples)
            if (e.出る == leaving)
                pairs.push_back(pair(named(e.前, e.前の駒), QString(), named(e.後, e.後の駒)));
        centredGrid(box, pairs, 3, 14);
    }

    void drops() {
        heading(QStringLiteral("4. 持駒と打ち方"));
        paragraph(QStringLiteral(
            "相手の駒を取ると、自分の<b>持駒</b>になります。あなたの持駒は盤の右側、相手の持駒は"
            "左側に並びます。自分の番に、持駒をクリックしてから空いているマスをクリックすると、"
            "そこに打てます。"));
        QVBoxLayout* box = card();
        box->addWidget(text(QStringLiteral("持駒は、どれも<b>必ず成った姿で打ちます</b>。")));
        std::vector<QWidget*> pairs;
        for (const 打ちの形& 形 : 打ちの形一覧())
            pairs.push_back(pair(named(onePiece(形.持駒), 形.持駒), QStringLiteral("打つと"),
                                 named(onePiece(形.打つ駒), 形.打つ駒)));
        centredGrid(box, pairs, 4, 18);
        paragraph(QStringLiteral(
            "成った姿の駒はどこにいても動けるので、空いているマスなら<b>どこにでも</b>打てます"
            "（一番奥の段にも打てます）。敵陣に打っても、打ったときには姿は変わりません。"));
        paragraph(QStringLiteral(
            "<b>二歩について：</b>同じ筋に「歩」を二枚置く二歩は、成る前の姿の「歩」を打つときの"
            "決まりです。このゲームでは持駒の歩はいつも「と」として打つので、自分の「歩」や"
            "「と」がある筋にも打てます。打った駒で王手や詰みにしてもかまいません。"));
    }

    void endOfGame() {
        heading(QStringLiteral("5. 勝ち負け"));
        paragraph(QStringLiteral(
            "<ul style='margin-left:-20px'>"
            "<li>相手の<b>王を取ったら勝ち</b>です。二人の対局でも、コンピュータとの対局でも"
            "同じです。</li>"
            "<li>コンピュータとの対局では、あなたの指した手でコンピュータの王が<b>詰んだ</b>"
            "（王手がかかっていて、どう応じても王手を外せない）ら、その時点であなたの勝ちです。"
            "コンピュータに指せる手がなくなったときも、あなたの勝ちです。</li>"
            "<li>反対に、あなたの王が詰んでも、その場では終わりません（コンピュータが知らせて"
            "きます）。王を取られたときに負けになります。</li>"
            "<li><b>投了</b>：負けを認めて対局を終えることができます（「対局」→「投了」）。</li>"
            "<li><b>時間切れ</b>：「ｵﾌﾟｼｮﾝ」の「持ち時間」「秒読み」で時間を決めて対局している"
            "ときは、持ち時間を使い切ったあと、秒読みの時間のうちに指せないと負けです。</li></ul>"
            "勝負がついたら、「対局」から新しい対局を始めましょう。"));
    }

    void menusAndKeys() {
        heading(QStringLiteral("6. メニューとキー"));
        const QString row = QStringLiteral(
            "<tr><td width='210' style='padding:4px 14px 4px 0'><b>%1</b></td>"
            "<td style='padding:4px 0'>%2</td></tr>");
        const auto table = [&row](std::initializer_list<std::pair<const char*, const char*>> rows) {
            QString html = QStringLiteral("<table cellspacing='0'>");
            for (const auto& [what, does] : rows) html += row.arg(utf8(what), utf8(does));
            return html + QStringLiteral("</table>");
        };
        paragraph(table({
            {"対局 › 対局(人間) › スタート", "二人で対局を始めます（下側が先手）。"},
            {"対局 › 対局(COM) › 先手／後手",
             "コンピュータとの対局を始めます。先手ならあなたから、後手ならコンピュータから"
             "指します。戻・進で前の局面を出しているときは、その局面から続けます。"},
            {"対局 › 新しい対局",
             "始めの並び（駒落ちがあればそのまま）で、前回と同じ種類の対局を始めます。"},
            {"対局 › COM対局ﾚﾍﾞﾙ",
             "コンピュータの強さです。ﾚﾍﾞﾙ1〜3は一手先だけを読み、ﾚﾍﾞﾙ4は何手も先まで読む"
             "いちばん強いレベルです。"},
            {"対局 › 待った",
             "直前の手を取り消します。コンピュータとの対局では、あなたの最後の手とコンピュータの"
             "応手をまとめて取り消します。"},
            {"対局 › ヒント",
             "コンピュータとの対局で、あなたの番に、コンピュータならこう指すという手を水色の枠で"
             "示します。"},
            {"対局 › 投了", "負けを認めて対局を終えます。"},
            {"対局 › 終わり", "ゲームを終了します。"},
            {"局面 › 最初", "始めの並びに戻し、対局をやめます。"},
            {"局面 › 反転",
             "盤を回して、上下の駒を入れ替えます（手前の駒を引き続きあなたが動かします）。"
             "反転した対局は棋譜に書き込めません。"},
            {"戻・進",
             "一手前の局面へ戻る／一手先の局面へ進みます。戻したところで盤をクリックすると、"
             "そこから対局を続けられます（先の手は消えます）。"},
            {"△・▽",
             "最初の一手を指す前に、駒を落としてハンディキャップをつけます。△を押すたびに上側の駒が"
             "1枚ずつ（角成・飛成・香成…の順に）盤から外れ、▽を押すと下側の駒が外れます。"
             "反対のボタンで1枚ずつ戻ります（10枚まで）。"},
            {"棋譜 › 読込",
             "保存した棋譜ファイルを読み込みます。進を押すたびに一手ずつ再生します。"},
            {"棋譜 › 書込",
             "今の対局を棋譜ファイルに保存します（反転やハンディキャップのある対局は除きます）。"},
            {"棋譜 › 棋譜と形勢",
             "盤の横に指し手の一覧と形勢のグラフを出します。行やグラフをクリックすると、"
             "その局面を盤に出します。"},
            {"ｵﾌﾟｼｮﾝ",
             "背景画、移動指導（行けるマスの表示）、経過時間（考えた時間の表示）、BGM、"
             "持ち時間と秒読み、成・不成を選ぶ（移動先で駒の姿を選ぶ）を選びます。選んだ設定は次に"
             "起動したときも使われます。"},
            {"その他", "このゲームの名前、バージョンなどを表示します。"},
            {"遊び方", "この画面を開きます。"},
        }));
        paragraph(table({
            {"↑ ↓ ← →",
             "盤と両側の持駒の上で、黄色いカーソルを動かします（最初に押したときは、下から"
             "3段目の真ん中のマスに出ます）。"},
            {"Enter・Space", "カーソルのあるマスをクリックしたのと同じです。"},
            {"← →",
             "棋譜を読み込んだときや、戻・進で前の局面を見ているあいだは、戻・進と同じです。"},
            {"駒の姿を選ぶとき",
             "← → で二つの姿のどちらかを選び、Enter・Space で決めます。Esc で、その手を"
             "取り消します。"},
            {"Esc",
             "ゲームを終了します。対局の途中なら、次に起動したときに続きから指せます。"
             "（この画面では、この画面だけを閉じます。）"},
            {"F1", "この「遊び方」を開きます。"},
            {"F3", "「棋譜と形勢」を開き、指し手の一覧を矢印キーで選べるようにします。"},
            {"Ctrl+N", "新しい対局を始めます。"},
            {"F10", "メニューバーを開きます。矢印キーで選び、Enter で決めます。"},
        }));
    }

    QVBoxLayout* layout_ = nullptr;
};

QPointer<QWidget>& openWindow() {
    static QPointer<QWidget> window;
    return window;
}

// A default size that fits the screen, and a place beside `parent` where there is room.
void place(QWidget& window, QWidget* parent) {
    QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize size(std::min(760, room.width() - 40), std::min(840, room.height() - 60));
    window.resize(size);
    if (parent == nullptr) {
        window.move(room.center() - QPoint(size.width() / 2, size.height() / 2));
        return;
    }
    const QRect beside = parent->frameGeometry();
    int x = beside.right() + 12;
    if (x + size.width() > room.right()) x = beside.left() - 12 - size.width();
    if (x < room.left()) x = room.left() + (room.width() - size.width()) / 2;
    const int y =
        std::clamp(beside.top(), room.top(), std::max(room.top(), room.bottom() - size.height()));
    window.move(x, y);
}

}  // namespace

void showRulesWindow(QWidget* parent) {
    QPointer<QWidget>& window = openWindow();
    if (window.isNull()) {
        window = new RulesWindow(parent);
        place(*window, parent);
    }
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace kiryuza::window
