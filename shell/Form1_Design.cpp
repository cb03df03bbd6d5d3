// Form1: the controls and their design-time properties (positions in pixels of
// their container, captions, ranges). Start-up values that Form_Load sets are
// not repeated here.
#include <QButtonGroup>
#include <QPixmap>

#include "Form1_Controls.h"
#include "InsertPanels.h"
#include "OutlineWindow.h"
#include "OverlaySlots.h"
#include "SongFont.h"

namespace qn {

namespace {

template <class W>
W* Named(W* w, const char* name, int index = -1) {
    w->setObjectName(index < 0 ? QString::fromLatin1(name)
                               : QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index));
    return w;
}

QPushButton* Button(QWidget* parent, const QString& caption, int x, int y, int w, int h) {
    auto* b = new QPushButton(caption, parent);
    b->setGeometry(x, y, w, h);
    return b;
}

QLabel* Caption(QWidget* parent, const QString& text, int x, int y, int w, int h) {
    auto* l = new QLabel(parent);
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    l->setGeometry(x, y, w, h);
    return l;
}

ClickLabel* AutoSizeLabel(QWidget* parent, const QString& text, int x, int y, const QFont& font) {
    auto* l = new ClickLabel(text, parent);
    l->setFont(font);
    l->move(x, y);
    l->adjustSize();
    return l;
}

QCheckBox* CheckBox(QWidget* parent, const QString& caption, int x, int y, int w, int h,
                    bool ticked) {
    auto* c = new QCheckBox(caption, parent);
    c->setGeometry(x, y, w, h);
    c->setChecked(ticked);
    return c;
}

QScrollBar* ScrollBar(QWidget* parent, Qt::Orientation o, int min, int max, int value,
                      int largeStep) {
    auto* s = new QScrollBar(o, parent);
    s->setRange(min, max);
    s->setSingleStep(1);
    s->setPageStep(largeStep);
    s->setValue(value);
    // Change, as the handlers expect it, comes when the thumb is let go.
    s->setTracking(false);
    return s;
}

// A line control drawn as a one-pixel strip from (x1, y) to (x2, y).
QFrame* HorizontalLine(QWidget* parent, int x1, int x2, int y) {
    auto* f = new QFrame(parent);
    f->setGeometry(x1, y, x2 - x1 + 1, 1);
    f->setAutoFillBackground(true);
    QPalette p = f->palette();
    p.setColor(QPalette::Window, Qt::black);
    f->setPalette(p);
    f->setAttribute(Qt::WA_TransparentForMouseEvents);
    return f;
}

QFrame* Panel(QWidget* parent, int x, int y, int w, int h) {
    auto* f = new QFrame(parent);
    f->setGeometry(x, y, w, h);
    f->setFrameStyle(QFrame::Panel | QFrame::Raised);
    f->setAutoFillBackground(true);
    f->hide();
    return f;
}

constexpr int kParked = -5000;  // where the in-place editors rest

}  // namespace

void Form1::CreateControls() {
    Controls& c = *ui;

    // The page canvas first, so that everything else lies above it.
    c.Picture1 = Named(new PageCanvas(editor_.page, editor_.caret, this), "Picture1");
    c.Picture1->move(kPageLeft, 0);
    c.Picture1->resize(editor_.page.width(), editor_.page.height());

    // An exclusive group: checking one pattern asks the group for its
    // siblings, not every child of the window.
    auto* patterns = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        c.Option1[i] = Named(
            new PatternButton(QPixmap(QStringLiteral(":/pictures/pattern%1.bmp").arg(i)), this),
            "Option1", i);
        c.Option1[i]->setGeometry(16 + 32 * i, 8, 33, 33);
        patterns->addButton(c.Option1[i], i);
        c.Check5[i] = Named(CheckBox(this, QString(), 16 + 32 * i, 40, 33, 12, i < 2), "Check5", i);
    }
    c.Option1[0]->setChecked(true);

    c.VScroll1 = Named(ScrollBar(this, Qt::Vertical, 0, 18, 0, 5), "VScroll1");
    c.VScroll1->setGeometry(160, 0, 16, 305);

    CreateToolbar();
    CreatePageControls();
    CreateOptionsPanel();
    CreateOverlayPanels();
    CreateMouseControls();
    CreatePlaybackControls();
    CreateStaffPanel();
    CreateNewScoreDialog();

    c.Command16 = Named(Button(this, QStringLiteral("最小化"), 0, 8, 81, 20), "Command16");
    c.Command16->raise();
    CreateCommandMenu();

    c.Timer1 = new QTimer(this);
    c.Timer1->setInterval(350);
}

void Form1::CreateToolbar() {
    Controls& c = *ui;
    QGroupBox* f = c.Frame1 = Named(new QGroupBox(QStringLiteral("选项"), this), "Frame1");
    f->setGeometry(8, 64, 145, 697);

    c.Command2 = Named(Button(f, QStringLiteral("全字符"), 8, 16, 65, 25), "Command2");
    c.Command4 = Named(Button(f, QStringLiteral("插入"), 80, 16, 57, 25), "Command4");

    struct DocButton { int index; const char16_t* caption; int y; bool shown; };
    const DocButton docButtons[] = {
        {6, u"新建", 48, true},  {0, u"打开", 72, true},          {1, u"保存", 96, true},
        {2, u"别存为", 120, true}, {3, u"批量导出图片", 144, true}, {4, u"导出图片", 168, false},
        {9, u"打印", 168, false},  {7, u"选项", 192, true},         {5, u"退出", 216, true},
    };
    for (const DocButton& b : docButtons) {
        c.Command1[b.index] =
            Named(Button(f, QString::fromUtf16(b.caption), 8, b.y, 129, 23), "Command1", b.index);
        c.Command1[b.index]->setVisible(b.shown);
    }

    struct Slider { int min, max, value, largeStep; };
    const Slider sliders[4] = {{60, kMaxBarWidth, 80, 4}, {4, kMaxBarsPerLine, 8, 1}, {50, 250, 60, 10}, {10, 80, 20, 4}};
    // Captions above sliders: rows 0..2 from y 240 to 336, row 3 further down.
    const int captionY[4] = {240, 272, 304, 512};
    for (int i = 0; i < 4; ++i) {
        const Slider& s = sliders[i];
        c.Label4[i] = Named(Caption(f, Label4Caption(i, s.value), 8, captionY[i], 129, 16), "Label4", i);
        c.HScroll2[i] = Named(ScrollBar(f, Qt::Horizontal, s.min, s.max, s.value, s.largeStep),
                              "HScroll2", i);
        c.HScroll2[i]->setGeometry(8, captionY[i] + 16, 129, 16);
    }

    c.Label5 = Named(new ClickLabel(QStringLiteral("和弦颜色"), f), "Label5");
    c.Label5->move(24, 370);
    c.Label5->adjustSize();
    QPalette red = c.Label5->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));  // &H000000FF
    c.Label5->setPalette(red);

    c.Check2 = Named(CheckBox(f, QStringLiteral("显示辅助线"), 8, 384, 129, 16, true), "Check2");
    c.Check1 = Named(CheckBox(f, QStringLiteral("从五线谱输入"), 8, 400, 129, 16, false), "Check1");
    c.Combo2 = Named(new QComboBox(f), "Combo2");
    c.Combo2->setGeometry(8, 416, 129, 22);
    c.Combo2->setEnabled(false);
    c.Label3 = Named(new ClickLabel(QStringLiteral("高音谱号"), f), "Label3");
    c.Label3->setGeometry(8, 440, 129, 15);
    c.Check9 = Named(CheckBox(f, QStringLiteral("使用音效"), 8, 456, 97, 17, true), "Check9");
    c.Command10 = Named(Button(f, QStringLiteral("音符"), 8, 488, 65, 23), "Command10");
    c.Combo3 = Named(new QComboBox(f), "Combo3");
    c.Combo3->setGeometry(8, 552, 129, 22);
    c.Label15 = Named(Caption(f, QStringLiteral("当前节奏型"), 8, 584, 129, 16), "Label15");

    // The time signature used while typing, numerator over denominator.
    const QFont headerFont = SongFont(14);
    c.Label2[7] = Named(AutoSizeLabel(f, QString(), 64, 602, headerFont), "Label2", 7);
    c.Label2[6] = Named(AutoSizeLabel(f, QString(), 64, 620, headerFont), "Label2", 6);
    c.Line1[1] = Named(HorizontalLine(f, 60, 76, 619), "Line1", 1);
    for (int i : {7, 6}) {
        c.Combo1[i] = Named(new QComboBox(f), "Combo1", i);
        c.Combo1[i]->setGeometry(80, kParked, 49, 22);
    }

    c.Command14 = Named(Button(f, QStringLiteral("粘贴"), 8, 664, 65, 25), "Command14");
    c.Command15 = Named(Button(f, QStringLiteral("清除"), 80, 664, 57, 25), "Command15");
}

void Form1::CreatePageControls() {
    Controls& c = *ui;
    PageCanvas* page = c.Picture1;

    c.Label1 = Named(new ClickLabel(QStringLiteral("标题"), page), "Label1");
    c.Label1->setFont(SongFont(21));
    c.Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    c.Label1->setAutoFillBackground(true);
    QPalette white = c.Label1->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    c.Label1->setPalette(white);
    c.Label1->setGeometry(0, 8, page->width(), c.Label1->sizeHint().height());

    // Key, time signature and tempo get their texts from start-up's list choices.
    const QFont headerFont = SongFont(14);
    struct HeaderLabel { int index; const char16_t* text; int x, y; };
    const HeaderLabel header[] = {
        {9, u"1=", 16, 48}, {2, u"", 32, 48},           {0, u"", 52, 40},
        {1, u"", 52, 56},   {4, u"每分钟72拍", 96, 48}, {5, u"Lumora 制谱", 0, 48},
    };
    for (const HeaderLabel& h : header) {
        c.Label2[h.index] = Named(
            AutoSizeLabel(page, QString::fromUtf16(h.text), h.x, h.y, headerFont), "Label2", h.index);
        QPalette black = c.Label2[h.index]->palette();
        black.setColor(QPalette::WindowText, Qt::black);
        c.Label2[h.index]->setPalette(black);
    }
    c.Line1[0] = Named(HorizontalLine(page, 48, 64, 56), "Line1", 0);

    c.Label16 = Named(AutoSizeLabel(page, QStringLiteral("< 1 >"), 0, 0, SongFont(19)), "Label16");
    QPalette black = c.Label16->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    c.Label16->setPalette(black);

    // The in-place editors of the header, parked off the page.
    const std::pair<int, int> comboX[] = {{0, 64}, {1, 64}, {2, 48}};
    for (auto [i, x] : comboX) {
        c.Combo1[i] = Named(new QComboBox(page), "Combo1", i);
        c.Combo1[i]->setGeometry(x, kParked, 49, 22);
    }
    c.HScroll1 = Named(ScrollBar(page, Qt::Horizontal, 30, 150, 72, 10), "HScroll1");
    c.HScroll1->setGeometry(104, kParked, 121, 16);
    c.List2 = Named(new QListWidget(page), "List2");
    c.List2->setGeometry(96, kParked, 385, 160);
}

void Form1::CreateOptionsPanel() {
    Controls& c = *ui;
    QFrame* p = c.Picture2 = Named(Panel(this, kPageLeft, 0, 313, 337), "Picture2");

    struct Row { const char16_t* caption; int x, y, captionWidth, valueX, valueWidth; };
    const Row rows[6] = {
        {u"4分音符间距:", 16, 8, 80, 96, 32},   {u"8分音符间距:", 16, 24, 80, 96, 32},
        {u"16分音符间距:", 16, 40, 80, 96, 32}, {u"32分音符间距:", 16, 56, 80, 96, 32},
        {u"拍间距+", 136, 8, 48, 184, 32},      {u"导出大小比例:", 16, 224, 80, 96, 20},
    };
    for (int i = 0; i < 6; ++i) {
        const Row& r = rows[i];
        c.Label6[i] = Named(new ClickLabel(QString::fromUtf16(r.caption), p), "Label6", i);
        c.Label6[i]->setGeometry(r.x, r.y, r.captionWidth, 16);
        c.Label6s[i] = Named(new ClickLabel(QString(), p), "Label6s", i);
        c.Label6s[i]->setGeometry(r.valueX, r.y, r.valueWidth, 16);
    }
    c.Label6s[5]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    c.Label19 = Named(Caption(p, QStringLiteral("%"), 116, 224, 16, 16), "Label19");

    c.Check8 = Named(CheckBox(p, QStringLiteral("自动分拍"), 136, 24, 169, 17, false), "Check8");
    c.Check10 = Named(CheckBox(p, QStringLiteral("自动输入小节线"), 136, 40, 169, 17, false), "Check10");
    c.Check10->hide();
    c.Check11 = Named(CheckBox(p, QStringLiteral("换行时两端对齐"), 136, 72, 169, 17, false), "Check11");
    c.Check4 = Named(CheckBox(p, QStringLiteral("自动分配音符间距"), 16, 96, 200, 17, true), "Check4");
    c.Check3 = Named(CheckBox(p, QStringLiteral("自动跳过小节线"), 16, 120, 200, 17, false), "Check3");
    c.Check3->hide();
    c.Label17 = Named(Caption(p, QStringLiteral("页数样式"), 16, 176, 64, 16), "Label17");
    c.Label18 = Named(new ClickLabel(QStringLiteral("< p >"), p), "Label18");
    c.Label18->setGeometry(80, 176, 120, 16);
    c.Check12 = Named(CheckBox(p, QStringLiteral("导出图片时打开这个文件夹"), 16, 200, 289, 17, false),
                      "Check12");
    c.Command3 = Named(Button(p, QStringLiteral("关闭"), 224, 304, 73, 25), "Command3");
}

void Form1::CreateOverlayPanels() {
    Controls& c = *ui;
    PageCanvas* page = c.Picture1;

    // Overlays first: the insert panels open above them.
    overlays_ = new OverlaySlots(page);

    const TextInsertPanel text = CreateTextInsertPanel(page);
    c.Frame2 = text.Frame2;
    c.List1 = text.List1;
    c.Command5 = text.Command5;
    c.Command6 = text.Command6;

    const PictureInsertPanel picture = CreatePictureInsertPanel(page);
    c.Frame3 = picture.Frame3;
    c.Image2 = picture.Image2;
    c.File1 = picture.File1;
    c.Command8 = picture.Command8;
    c.Command9 = picture.Command9;

    form2_ = std::make_unique<OutlineWindow>();

    QFrame* d = c.Picture8 = Named(Panel(this, 224, 528, 321, 161), "Picture8");
    const std::pair<int, int> comboX[] = {{3, 232}, {13, 248}, {12, 248}};
    for (auto [i, x] : comboX) {
        c.Combo1[i] = Named(new QComboBox(d), "Combo1", i);
        c.Combo1[i]->setGeometry(x, kParked, 49, 22);
    }
    c.Combo4 = Named(new QComboBox(d), "Combo4");
    c.Combo4->setGeometry(96, 96, 217, 22);
    c.Command12 = Named(Button(d, QStringLiteral("取消"), 160, 120, 73, 25), "Command12");
}

void Form1::ConnectHandlers() {
    Controls& c = *ui;
    for (int i = 0; i < 4; ++i) {
        connect(c.Option1[i], &QAbstractButton::clicked, this, [this, i] { Option1_Click(Integer(i)); });
        connect(c.Check5[i], &QCheckBox::toggled, this, [this, i] { Check5_Click(i); });
        connect(c.HScroll2[i], &QScrollBar::valueChanged, this, [this, i] { HScroll2_Change(i); });
    }
    connect(c.VScroll1, &QScrollBar::valueChanged, this, &Form1::VScroll1_Change);
    connect(c.Command16, &QPushButton::clicked, this, &Form1::Command16_Click);
    connect(c.Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(c.Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    for (int i = 0; i < int(c.Command1.size()); ++i)
        if (c.Command1[i])
            connect(c.Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    connect(c.Label5, &ClickLabel::clicked, this, &Form1::Label5_Click);
    connect(c.Check2, &QCheckBox::toggled, this, &Form1::Check2_Click);
    connect(c.Check1, &QCheckBox::toggled, this, &Form1::Check1_Click);
    connect(c.Combo2, &QComboBox::activated, this, &Form1::Combo2_Click);
    connect(c.Label3, &ClickLabel::clicked, this, &Form1::Label3_Click);
    connect(c.Check9, &QCheckBox::clicked, this, &Form1::FocusPage);
    connect(c.Command10, &QPushButton::clicked, this, &Form1::Command10_Click);
    connect(c.Combo3, &QComboBox::activated, this, &Form1::Combo3_Click);
    connect(c.Command14, &QPushButton::clicked, this, &Form1::Command14_Click);
    connect(c.Command15, &QPushButton::clicked, this, &Form1::Command15_Click);
    for (int i = 0; i < int(c.Combo1.size()); ++i)
        if (c.Combo1[i])
            connect(c.Combo1[i], &QComboBox::activated, this, [this, i] { Combo1_Click(i); });
    connect(c.Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(c.List1, &QListWidget::itemDoubleClicked, this, &Form1::List1_DblClick);
    connect(c.Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    // The preview follows the current file however it changes: a click, the
    // arrow keys, type-ahead or a drag.
    connect(c.File1, &QListWidget::currentItemChanged, this, &Form1::File1_Click);
    connect(c.File1, &QListWidget::itemDoubleClicked, this, &Form1::Command8_Click);
    connect(c.Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
    connect(c.Command9, &QPushButton::clicked, this, &Form1::Command9_Click);
    connect(overlays_, &OverlaySlots::textClicked, this, &Form1::Label7_Click);
    connect(overlays_, &OverlaySlots::textReleased, this, &Form1::Label7_MouseUp);
    connect(overlays_, &OverlaySlots::pictureClicked, this, &Form1::Ima_Click);

    // The header labels and their editors.
    for (int i = 0; i < int(c.Label2.size()); ++i)
        if (c.Label2[i])
            connect(c.Label2[i], &ClickLabel::pressed, this,
                    [this, i](Qt::MouseButton b) { Label2_MouseDown(i, b); });
    connect(c.HScroll1, &QScrollBar::valueChanged, this, &Form1::HScroll1_Change);
    connect(c.List2, &QListWidget::itemDoubleClicked, this, &Form1::List2_DblClick);
    connect(c.Label1, &ClickLabel::doubleClicked, this, &Form1::Label1_DblClick);
    connect(c.Label1, &ClickLabel::pressedAt, this,
            [this](Qt::MouseButton b, QPoint pos, QPoint) { Label1_MouseDown(b, pos); });
    connect(c.Label1, &ClickLabel::movedAt, this,
            [this](Qt::MouseButtons b, QPoint pos, QPoint) { Label1_MouseMove(b, pos); });
    connect(c.Label1, &ClickLabel::releasedAt, this,
            [this](Qt::MouseButton b, QPoint pos, QPoint) { Label1_MouseUp(b, pos); });
    connect(c.Label16, &ClickLabel::clicked, this, &Form1::Label16_Click);
    connect(c.Label18, &ClickLabel::clicked, this, &Form1::Label18_Click);

    // The shortcuts of our own are the command menu's (Form1_Menu.cpp); they come
    // before the page's keys, so they stamp nothing.
    connect(c.Command12, &QPushButton::clicked, this, &Form1::Command12_Click);

    for (int i = 0; i < 6; ++i) {
        connect(c.Label6[i], &ClickLabel::pressed, this,
                [this, i](Qt::MouseButton b) { Label6_MouseDown(i, b); });
        connect(c.Label6s[i], &ClickLabel::pressed, this,
                [this, i](Qt::MouseButton b) { Label6s_MouseDown(i, b); });
    }
    // Only the user's clicks mark the options as changed; loading them is no change.
    connect(c.Check8, &QCheckBox::clicked, this, &Form1::Check8_Click);
    connect(c.Check10, &QCheckBox::clicked, this, &Form1::Check10_Click);
    connect(c.Check11, &QCheckBox::clicked, this, &Form1::Check11_Click);
    connect(c.Check12, &QCheckBox::clicked, this, &Form1::Check12_Click);
    connect(c.Command3, &QPushButton::clicked, this, &Form1::Command3_Click);

    ConnectStaffHandlers();
    ConnectNewScoreHandlers();

    connect(c.Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    c.Picture1->onKeyPress = [this](QKeyEvent* e) { CanvasKeyPress(e); };
    c.Picture1->onKeyRelease = [this](QKeyEvent* e) { CanvasKeyRelease(e); };
    ConnectMouseHandlers();
}

}  // namespace qn
