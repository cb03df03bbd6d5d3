// The main window, offscreen, on a temporary program folder: start-up state,
// layout, guide lines, options panel and "set.ini", toggles and palette.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cstring>
#include <optional>

#include "Form1.h"
#include "Form1_Controls.h"
#include "SoundPlayer.h"
#include "FakeDialogs.h"

namespace qn {
namespace {


// Pixels darker than mid-grey: shows whether a label really draws its text.
int DarkPixels(QWidget* w) {
    const QImage img = w->grab().toImage();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += qGray(img.pixel(x, y)) < 128 ? 1 : 0;
    return n;
}

QStringList Items(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

QStringList Items(const QComboBox* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->itemText(i);
    return out;
}

class Form1Test : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        WriteFile("speed.txt", "Largo,Adagio\r\n\"Allegro, vivace\"\r\n");
        WriteFile("explin.txt", "rit.\r\na tempo\r\n");
    }

    Form1& Start(bool shown = false) {
        form = std::make_unique<Form1>(dir.path(), &dialogs);
        if (shown) {
            form->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        }
        return *form;
    }
    Form1::Controls& ui() { return form->controls(); }
    EditorState& st() { return form->editor().st; }

    QString Path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    void WriteFile(const QString& name, const QByteArray& bytes) {
        QDir(dir.path()).mkpath(QFileInfo(Path(name)).path());
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray ReadFile(const QString& name) const {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QRgb CanvasPixel(int x, int y) {
        return ui().Picture1->grab(QRect(x, y, 1, 1)).toImage().pixel(0, 0) & 0xFFFFFFu;
    }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<Form1> form;
};

TEST_F(Form1Test, StartUpState) {
    Form1& f = Start();
    Form1::Controls& c = ui();

    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    EXPECT_EQ(f.windowTitle(), "Quillnote");
    EXPECT_TRUE(f.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(f.geometry(), QRect(0, 0, 852, 945));
    EXPECT_EQ(c.Picture1->geometry(), QRect(176, 0, 668, 945));
    EXPECT_EQ(f.editor().page.width(), 668);
    EXPECT_EQ(f.editor().page.height(), 945);
    EXPECT_EQ(c.Command16->geometry(), QRect(668 + 88, 8, 81, 20));
    EXPECT_EQ(c.Frame1->geometry(), QRect(8, 64, 145, 697));
    EXPECT_EQ(c.VScroll1->geometry(), QRect(160, 0, 16, 305));
    EXPECT_EQ(c.Check9->geometry(), QRect(8, 456, 97, 17));
    EXPECT_FALSE(c.Picture2->isVisibleTo(&f));
    EXPECT_EQ(c.Picture2->geometry(), QRect(176, 0, 313, 337));

    EXPECT_EQ(c.Command2->text(), "全字符");
    EXPECT_EQ(c.Command4->text(), "插入");
    EXPECT_EQ(c.Command10->text(), "音符");
    EXPECT_EQ(c.Label3->text(), "高音谱号");
    const QStringList sliderCaptions = {"小节宽度 80", "每行小节数 8", "行距 60", "和弦距离 20"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(c.Label4[i]->text(), sliderCaptions[i]);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(c.Check5[i]->isChecked(), i < 2) << "Check5 " << i;
        EXPECT_EQ(c.Option1[i]->isChecked(), i == 0) << "Option1 " << i;
        EXPECT_EQ(c.Option1[i]->geometry(), QRect(16 + 32 * i, 8, 33, 33));
    }

    EXPECT_EQ(st().NoteValue, 0);
    EXPECT_EQ(st().InsertMode, 1);
    EXPECT_EQ(st().HalfWidthMode, 0);
    EXPECT_EQ(st().NoteInputMode, 1);
    EXPECT_EQ(st().SpacingClass, 5);
    EXPECT_EQ(st().SelectedOverlay, -1);
    EXPECT_EQ(st().BeatsPerBar, 4);
    EXPECT_EQ(st().BeatUnit, 4);

    // The header: 1=C, 4 over 4, from start-up's list choices.
    const std::pair<int, const char*> header[] = {{9, "1="}, {2, "C"}, {0, "4"}, {1, "4"},
                                                  {4, "每分钟72拍"}, {5, "Lumora 制谱"},
                                                  {7, "4"}, {6, "4"}};
    for (auto [i, text] : header) EXPECT_EQ(c.Label2[i]->text(), QString::fromUtf8(text)) << "Label2 " << i;
    EXPECT_EQ(c.Label1->text(), "标题");
    EXPECT_EQ(c.Label16->text(), "< 1 >");
    EXPECT_EQ(c.Label18->text(), "< p >");
    // Page-number texts look like markup; they must show as typed.
    EXPECT_GT(DarkPixels(c.Label18), 10);
    EXPECT_GT(DarkPixels(c.Label16), 10);
    EXPECT_EQ(c.Label2[5]->geometry().right() + 1, 668 - 32);
    EXPECT_EQ(c.Label16->y(), 945 - 45);
    EXPECT_EQ(c.Label16->x(), (668 - c.Label16->width()) / 2);
    EXPECT_EQ(c.Combo1[0]->y(), -5000);
    EXPECT_EQ(c.List2->y(), -5000);

    EXPECT_EQ(Items(c.List2), QStringList({"Largo", "Adagio", "Allegro, vivace"}));
    EXPECT_EQ(Items(c.Combo4), Items(c.List2));
    EXPECT_EQ(Items(c.List1), QStringList({"rit.", "a tempo"}));
    EXPECT_EQ(Items(c.Combo1[0]), QStringList({"2", "3", "4", "5", "6"}));
    EXPECT_EQ(Items(c.Combo1[1]), QStringList({"4", "8"}));
    EXPECT_EQ(c.Combo1[2]->count(), 12);
    ASSERT_EQ(c.Combo3->count(), 51);
    EXPECT_EQ(c.Combo3->itemText(0), "不清除");
    EXPECT_EQ(c.Combo3->itemText(1), "清除1X1");
    EXPECT_EQ(c.Combo3->itemText(50), "清除50X50");
    EXPECT_EQ(c.Combo3->currentIndex(), 0);
    EXPECT_EQ(c.Combo2->count(), 7);
    EXPECT_EQ(c.Combo2->currentIndex(), 0);
    EXPECT_FALSE(c.Combo2->isEnabled());

    EXPECT_EQ(f.editor().caret.Left, 20);
    EXPECT_EQ(f.editor().caret.Top, 96);
    EXPECT_FALSE(c.Picture1->caretPicture().isNull());
    EXPECT_TRUE(c.Timer1->isActive());
    EXPECT_EQ(c.Timer1->interval(), 350);

    // No "set.ini" yet: every option reads zero.
    const QStringList values = {"0.5", "0.5", "0", "0", "0", "0"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(c.Label6s[i]->text(), values[i]) << "Label6s " << i;
    EXPECT_EQ(f.VisibleGuideLines().size(), 264u);
    EXPECT_EQ(f.Line3X1(), 668 - 14);
}

TEST_F(Form1Test, StartUpReadsTheOptionsFile) {
    QByteArray ini(18, '\0');
    ini[0] = char(120);
    const float beat = 0.5f;
    quint32 bits;
    std::memcpy(&bits, &beat, 4);
    qToLittleEndian(bits, ini.data() + 1);
    ini[5] = 1;   // Check8
    ini[13] = 1;  // Check11
    WriteFile("set.ini", ini);

    Form1& f = Start();
    EXPECT_EQ(ui().Label6s[5]->text(), "120");
    EXPECT_EQ(f.Label6sCaption(4), "0.5");
    EXPECT_EQ(st().ExportScale, 120);
    EXPECT_TRUE(f.Check8());
    EXPECT_FALSE(ui().Check10->isChecked());
    EXPECT_TRUE(f.Check11());
    EXPECT_FALSE(ui().Check12->isChecked());
    EXPECT_EQ(st().OptionsChanged, 0);
}

TEST_F(Form1Test, BeatSpacingAboveOneSurvivesASaveOfAnotherOption) {
    QByteArray ini(18, '\0');
    const float beat = 1.5f;
    quint32 bits;
    std::memcpy(&bits, &beat, 4);
    qToLittleEndian(bits, ini.data() + 1);
    const QByteArray tail(4096, 'T');
    WriteFile("set.ini", ini + tail);

    Form1& f = Start(true);
    EXPECT_EQ(f.Label6sCaption(4), "1.5");
    ui().Command1[7]->click();
    ui().Check8->click();
    ui().Command3->click();
    EXPECT_TRUE(dialogs.messages.isEmpty());
    const QByteArray saved = ReadFile("set.ini");
    ASSERT_EQ(saved.size(), 18 + tail.size());
    EXPECT_EQ(saved.mid(1, 4), ini.mid(1, 4)) << "still 1.5";
    EXPECT_EQ(saved[5], 1);
    EXPECT_EQ(saved.mid(18), tail);
}

TEST_F(Form1Test, MissingListFilesAreReportedAndStartUpCompletes) {
    QFile::remove(Path("speed.txt"));
    QFile::remove(Path("explin.txt"));
    Form1& f = Start();
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_TRUE(dialogs.messages[0].contains("speed.txt"));
    EXPECT_TRUE(dialogs.messages[1].contains("explin.txt"));
    EXPECT_EQ(ui().List2->count(), 0);
    EXPECT_EQ(ui().Combo4->count(), 0);
    EXPECT_EQ(ui().List1->count(), 0);
    EXPECT_EQ(f.size(), QSize(852, 945));
    EXPECT_EQ(ui().Label2[2]->text(), "C");
}

TEST_F(Form1Test, SpecialFilesInTheProgramFolderAreNamedAndStartUpCompletes) {
    // FIFOs hung the start-up: they must be refused, not read.
    QFile::remove(Path("explin.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("explin.txt")).constData(), 0644), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("set.ini")).constData(), 0644), 0);
    Start();
    ASSERT_EQ(dialogs.messages.size(), 2) << dialogs.messages.join('\n').toStdString();
    EXPECT_TRUE(dialogs.messages[0].contains("set.ini") && dialogs.messages[0].contains(QStringLiteral("管道")));
    EXPECT_TRUE(dialogs.messages[1].contains("explin.txt") && dialogs.messages[1].contains(QStringLiteral("管道")));
    EXPECT_EQ(ui().List1->count(), 0);
    EXPECT_EQ(ui().List2->count(), 3);
    EXPECT_EQ(st().ExportScale, 0);
}

struct SliderCase {
    int index, value;
    const char* caption;
    int pageWidth, pageHeight, windowHeight, guideLines;
};

TEST_F(Form1Test, SliderChangeRelaysOutPageAndWindow) {
    const SliderCase cases[] = {
        {0, 60, "小节宽度 60", 508, 718, 768, 8 * 33},
        {1, 16, "每行小节数 16", 1308, 1850, 1850, 16 * 33},
        {2, 50, "行距 50", 668, 945, 945, 8 * 40},
        {3, 40, "和弦距离 40", 668, 945, 945, 8 * 33},
    };
    for (const SliderCase& sc : cases) {
        SCOPED_TRACE(sc.caption);
        Form1& f = Start();
        Form1::Controls& c = ui();
        c.HScroll2[sc.index]->setValue(sc.value);

        const int W = sc.pageWidth, H = sc.pageHeight;
        EXPECT_EQ(c.Label4[sc.index]->text(), QString::fromUtf8(sc.caption));
        EXPECT_EQ(f.editor().page.width(), W);
        EXPECT_EQ(f.editor().page.height(), H);
        EXPECT_EQ(c.Picture1->size(), QSize(W, H));
        EXPECT_EQ(f.size(), QSize(W + 184, sc.windowHeight));
        EXPECT_EQ(c.Command16->pos(), QPoint(W + 88, 8));
        EXPECT_EQ(c.Label1->width(), W);
        EXPECT_EQ(c.Label2[5]->geometry().right() + 1, W - 32);
        EXPECT_EQ(c.Label16->y(), H - 45);
        EXPECT_EQ(f.Line3X1(), W - 14);
        EXPECT_EQ(int(f.VisibleGuideLines().size()), sc.guideLines);
    }
}

TEST_F(Form1Test, GuideLineSwitchHidesAndShowsTheLinesOfTheCurrentGrid) {
    Form1& f = Start();
    Form1::Controls& c = ui();
    c.HScroll2[0]->setValue(60);
    c.HScroll2[1]->setValue(16);
    c.HScroll2[2]->setValue(50);
    ASSERT_EQ(f.VisibleGuideLines().size(), 640u);
    EXPECT_EQ(CanvasPixel(74, 106), qRgb(224, 224, 224) & 0xFFFFFFu);
    EXPECT_EQ(CanvasPixel(75, 106), 0xFFFFFFu);

    c.Check2->setChecked(false);
    EXPECT_TRUE(f.VisibleGuideLines().empty());
    EXPECT_EQ(CanvasPixel(74, 106), 0xFFFFFFu);

    // A relayout while switched off keeps them hidden ...
    c.HScroll2[1]->setValue(8);
    EXPECT_TRUE(f.VisibleGuideLines().empty());

    // ... and switching on shows exactly the current grid: 8 columns of 40 rows.
    c.Check2->setChecked(true);
    const std::vector<QLine> lines = f.VisibleGuideLines();
    ASSERT_EQ(lines.size(), 320u);
    EXPECT_EQ(lines.front(), QLine(74, 96, 74, 128));
    EXPECT_EQ(lines.back(), QLine(494, 2046, 494, 2078));
    EXPECT_EQ(CanvasPixel(74, 96 + 31), qRgb(224, 224, 224) & 0xFFFFFFu);
    // The last column lies under the margin line (W - 14), which is drawn over it.
    EXPECT_NE(CanvasPixel(494, 96 + 31), 0xFFFFFFu);
}

TEST_F(Form1Test, PageScrollMovesThePageAndWhatLiesOnIt) {
    Form1& f = Start();
    Form1::Controls& c = ui();
    c.VScroll1->setValue(18);
    EXPECT_EQ(c.Picture1->pos(), QPoint(176, -1800));
    EXPECT_EQ(c.Label1->mapTo(&f, QPoint(0, 0)), QPoint(176, 8 - 1800));
    c.VScroll1->setValue(0);
    EXPECT_EQ(c.Picture1->pos(), QPoint(176, 0));
}

struct OptionClick {
    int index;
    Qt::MouseButton button;
    const char* caption;  // the value shown afterwards
};

struct OptionCycleCase {
    const char* name;
    std::vector<OptionClick> clicks;
    int optionsChanged;
};

TEST_F(Form1Test, OptionRowClickCycles) {
    const OptionCycleCase cases[] = {
        {"beat spacing left from 0",
         {{4, Qt::LeftButton, "0.5"}, {4, Qt::LeftButton, "1"}, {4, Qt::LeftButton, "0"}}, -1},
        {"beat spacing right from 0", {{4, Qt::RightButton, "1"}}, -1},
        {"quarter spacing left from 0.5",
         {{0, Qt::LeftButton, "1"}, {0, Qt::LeftButton, "0"}, {0, Qt::LeftButton, "0.5"}}, 0},
        {"16th spacing right from 0",
         {{2, Qt::RightButton, "1"}, {2, Qt::RightButton, "0.5"}, {2, Qt::RightButton, "0"}}, 0},
        {"ratio from 0 wraps both ways",
         {{5, Qt::LeftButton, "200"}, {5, Qt::LeftButton, "50"}, {5, Qt::RightButton, "200"},
          {5, Qt::RightButton, "190"}}, -1},
        {"ratio right from 0", {{5, Qt::RightButton, "200"}}, -1},
        {"middle button on beat spacing", {{4, Qt::MiddleButton, "0"}}, -1},
        {"middle button on eighth spacing", {{1, Qt::MiddleButton, "0.5"}}, 0},
    };
    for (const OptionCycleCase& oc : cases) {
        SCOPED_TRACE(oc.name);
        Form1& f = Start(true);
        Form1::Controls& c = ui();
        c.Command1[7]->click();
        ASSERT_TRUE(c.Picture2->isVisible());
        bool onValue = false;
        for (const OptionClick& k : oc.clicks) {
            // Caption and value labels answer alike; alternate between them.
            ClickLabel* target = onValue ? c.Label6s[k.index] : c.Label6[k.index];
            onValue = !onValue;
            QTest::mouseClick(target, k.button);
            EXPECT_EQ(c.Label6s[k.index]->text(), k.caption);
            const double value = k.index == 5 ? double(st().ExportScale) : double(st().SpacingValues[k.index]);
            EXPECT_EQ(QString::number(value), k.caption);
        }
        EXPECT_EQ(st().OptionsChanged, oc.optionsChanged);
        EXPECT_EQ(f.Label6sCaption(4), c.Label6s[4]->text());
    }
}

struct CloseCase {
    const char* name;
    std::function<void(Form1::Controls&)> change;
    bool writes;
    int offset;     // byte of "set.ini" to look at when written
    char expected;
};

TEST_F(Form1Test, ClosingThePanelWritesOptionsOnlyAfterAChange) {
    const CloseCase cases[] = {
        {"no change", [](Form1::Controls&) {}, false, 0, 0},
        {"note spacing row", [](Form1::Controls& c) { QTest::mouseClick(c.Label6[0], Qt::LeftButton); },
         false, 0, 0},
        {"ratio row", [](Form1::Controls& c) { QTest::mouseClick(c.Label6s[5], Qt::LeftButton); },
         true, 0, char(200)},
        {"beat spacing row", [](Form1::Controls& c) { QTest::mouseClick(c.Label6[4], Qt::LeftButton); },
         true, 4, 0x3F},  // 0.5f little-endian is 00 00 00 3F
        {"Check8", [](Form1::Controls& c) { c.Check8->click(); }, true, 5, 1},
        {"Check11", [](Form1::Controls& c) { c.Check11->click(); }, true, 13, 1},
        {"Check12", [](Form1::Controls& c) { c.Check12->click(); }, true, 17, 1},
    };
    for (const CloseCase& cc : cases) {
        SCOPED_TRACE(cc.name);
        Start(true);
        Form1::Controls& c = ui();
        QFile::remove(Path("set.ini"));
        c.Command1[7]->click();
        cc.change(c);
        c.Command3->click();

        EXPECT_FALSE(c.Picture2->isVisible());
        EXPECT_EQ(st().OptionsChanged, 0);
        EXPECT_TRUE(dialogs.messages.isEmpty());
        const QByteArray ini = ReadFile("set.ini");
        EXPECT_EQ(QFile::exists(Path("set.ini")), cc.writes);
        if (cc.writes) {
            ASSERT_EQ(ini.size(), 18);
            EXPECT_EQ(ini[cc.offset], cc.expected);
            // Once written, closing again writes nothing.
            QFile::remove(Path("set.ini"));
            c.Command1[7]->click();
            c.Command3->click();
            EXPECT_FALSE(QFile::exists(Path("set.ini")));
        }
    }
}

TEST_F(Form1Test, FailedOptionsSaveIsReportedAndStaysPending) {
    Start();
    Form1::Controls& c = ui();
    QFile::remove(Path("set.ini"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("set.ini"));  // a folder where the file should go
    QTest::mouseClick(c.Label6[4], Qt::LeftButton);
    c.Command3->click();
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(st().OptionsChanged, -1);

    ASSERT_TRUE(QDir(dir.path()).rmdir("set.ini"));
    c.Command3->click();
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(st().OptionsChanged, 0);
    EXPECT_EQ(ReadFile("set.ini").size(), 18);
}

TEST_F(Form1Test, PatternTogglesNeverAllCleared) {
    struct Case { std::vector<int> clicks; std::array<bool, 4> ticked; };
    const Case cases[] = {
        {{1}, {true, false, false, false}},
        {{1, 0}, {true, false, false, false}},       // the last one is ticked again
        {{2, 0, 1}, {false, false, true, false}},
        {{2, 0, 1, 2}, {false, false, true, false}},
        {{3, 3}, {true, true, false, false}},
    };
    for (const Case& k : cases) {
        Start();
        for (int i : k.clicks) ui().Check5[i]->click();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(ui().Check5[i]->isChecked(), k.ticked[i])
                << "after " << ::testing::PrintToString(k.clicks) << ", Check5 " << i;
    }
}

TEST_F(Form1Test, ModeTogglesComeBackAfterTwoClicks) {
    Start(true);
    Form1::Controls& c = ui();
    struct Case {
        QPushButton* button;
        Qt::Key key;  // the keyboard shortcut of the same toggle
        const char* on;
        const char* off;
        std::function<int()> mode;
        int onMode, offMode;
    };
    const Case cases[] = {
        {c.Command2, Qt::Key_S, "半字符", "全字符", [&] { return int(st().HalfWidthMode); }, 1, 0},
        {c.Command4, Qt::Key_Insert, "改写", "插入", [&] { return int(st().InsertMode); }, 0, 1},
        {c.Command10, Qt::Key_K, "和弦", "音符", [&] { return int(st().NoteInputMode); }, 0, 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.off);
        k.button->click();
        EXPECT_EQ(k.button->text(), k.on);
        EXPECT_EQ(k.mode(), k.onMode);
        EXPECT_TRUE(c.Picture1->hasFocus());
        k.button->click();
        EXPECT_EQ(k.button->text(), k.off);
        EXPECT_EQ(k.mode(), k.offMode);

        QTest::keyClick(c.Picture1, k.key);
        EXPECT_EQ(k.button->text(), k.on);
        QTest::keyClick(c.Picture1, k.key);
        EXPECT_EQ(k.button->text(), k.off);
        EXPECT_EQ(k.mode(), k.offMode);
    }
    EXPECT_EQ(c.Label3->text(), "高音谱号");
}

TEST_F(Form1Test, PatternButtonChoosesNoteValueAndCaretPicture) {
    QImage k3(13, 40, QImage::Format_RGB32);
    k3.fill(qRgb(200, 0, 0));
    QDir(dir.path()).mkpath("s");
    ASSERT_TRUE(k3.save(Path("s/k3.bmp"), "BMP"));

    Form1& f = Start(true);
    Form1::Controls& c = ui();
    const QImage builtIn = c.Picture1->caretPicture().toImage();

    f.editor().caret.Visible = false;
    c.Option1[3]->click();
    EXPECT_EQ(st().NoteValue, 3);
    EXPECT_TRUE(f.editor().caret.Visible);
    EXPECT_TRUE(c.Option1[3]->isChecked());
    EXPECT_TRUE(c.Picture1->hasFocus());
    EXPECT_EQ(c.Picture1->caretPicture().toImage().pixel(6, 20), qRgb(200, 0, 0));
    EXPECT_EQ(CanvasPixel(20 + 6, 96 + 20), qRgb(200, 0, 0) & 0xFFFFFFu);

    // The blink hides and shows the caret.
    f.Timer1_Timer();
    EXPECT_FALSE(f.editor().caret.Visible);
    EXPECT_EQ(CanvasPixel(20 + 6, 96 + 20), 0xFFFFFFu);
    f.Timer1_Timer();
    EXPECT_TRUE(f.editor().caret.Visible);

    // No "s/k1.bmp": the note value changes, the caret keeps its last picture.
    c.Option1[1]->click();
    EXPECT_EQ(st().NoteValue, 1);
    EXPECT_EQ(c.Picture1->caretPicture().toImage().pixel(6, 20), qRgb(200, 0, 0));
    EXPECT_NE(c.Picture1->caretPicture().toImage(), builtIn);

    // Esc steps to the next ticked pattern and marks its button.
    QTest::keyClick(c.Picture1, Qt::Key_Escape);
    EXPECT_EQ(st().NoteValue, 0);
    EXPECT_TRUE(c.Option1[0]->isChecked());
    EXPECT_FALSE(c.Option1[1]->isChecked());
}

TEST_F(Form1Test, SoundsPlayOnlyWhileTheSwitchIsTicked) {
    // A silent, well-formed WAV: the effect's background reader finishes with it at once.
    QByteArray wav("RIFF\x2c\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00"
                   "\x40\x1f\x00\x00\x80\x3e\x00\x00\x02\x00\x10\x00data\x08\x00\x00\x00",
                   44);
    wav.append(8, '\0');
    WriteFile("sound/kac.wav", wav);
    Form1& f = Start();
    ui().Check9->click();
    ASSERT_FALSE(ui().Check9->isChecked());
    f.PlaySoundEffect("kac.wav");
    EXPECT_EQ(f.soundPlayer().loadedSoundCount(), 0);
    ui().Check9->click();
    f.PlaySoundEffect("kac.wav");
    EXPECT_EQ(f.soundPlayer().loadedSoundCount(), 1);
    QTest::qWait(100);  // let the reader finish before the window goes
}

TEST_F(Form1Test, ChordColourDialogCancelKeepsTheColour) {
    Form1& f = Start(true);
    const QColor red(255, 0, 0);
    ASSERT_EQ(f.ChordColour(), red);

    QTest::mouseClick(ui().Label5, Qt::LeftButton);
    EXPECT_EQ(dialogs.offered, red);
    EXPECT_EQ(f.ChordColour(), red);

    dialogs.colourAnswer = QColor(0, 0, 255);
    QTest::mouseClick(ui().Label5, Qt::LeftButton);
    EXPECT_EQ(f.ChordColour(), QColor(0, 0, 255));
    EXPECT_TRUE(ui().Picture1->hasFocus());
}

TEST_F(Form1Test, TypedDigitReachesThePageAndIsShown) {
    Form1& f = Start(true);
    PageCanvas* canvas = ui().Picture1;
    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_1);
    EXPECT_GT(f.editor().caret.Left, 20);

    // Some ink in the first cell, in the page and on the screen alike.
    int pageInk = 0, shownInk = 0;
    QApplication::processEvents();
    const QImage shown = canvas->grab(QRect(20, 96, 12, 40)).toImage();
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 12; ++x) {
            pageInk += f.editor().page.isInk(20 + x, 96 + y) ? 1 : 0;
            shownInk += (shown.pixel(x, y) & 0xFFFFFFu) == 0 ? 1 : 0;
        }
    EXPECT_GT(pageInk, 0);
    EXPECT_EQ(shownInk, pageInk);
}

TEST_F(Form1Test, RealKeyEventsReachTheKeyHandlerAsVirtualKeys) {
    Form1& f = Start(true);
    PageCanvas* canvas = ui().Picture1;
    canvas->setFocus();

    // Shift+1 arrives as '!' and still writes the plain 1 (code 14).
    QTest::keyClick(canvas, Qt::Key_Exclam, Qt::ShiftModifier);
    QImage one = f.editor().page.image().copy(20, 96, 12, 40);
    EXPECT_EQ(one, Picmode().copy(NoteCellRect(14, 0)).convertToFormat(one.format()));

    // Keypad 2 chooses the note value directly; keypad plus is held while down.
    QTest::keyClick(canvas, Qt::Key_2, Qt::KeypadModifier);
    EXPECT_EQ(st().NoteValue, 2);
    EXPECT_TRUE(ui().Option1[2]->isChecked());
    QTest::keyPress(canvas, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(st().KeypadHeld[5], 1);
    QTest::keyRelease(canvas, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(st().KeypadHeld[5], 0);

    // Enter breaks the line; the next digit starts the second line.
    QTest::keyClick(canvas, Qt::Key_Return);
    EXPECT_FLOAT_EQ(f.editor().caret.Left, 20);
    EXPECT_FLOAT_EQ(f.editor().caret.Top, 156);

    // The semicolon writes the rest, here with the sixteenth's two beams.
    QTest::keyClick(canvas, Qt::Key_Semicolon);
    const QImage rest = f.editor().page.image().copy(20, 156, 12, 40);
    EXPECT_EQ(rest, Picmode().copy(NoteCellRect(35, 2)).convertToFormat(rest.format()));
}

TEST_F(Form1Test, CaretPictureGroundIsSeeThrough) {
    QImage k2(13, 40, QImage::Format_RGB32);
    k2.fill(Qt::white);
    for (int y = 8; y < 25; ++y) k2.setPixel(1, y, qRgb(0, 90, 200));
    QDir(dir.path()).mkpath("s");
    ASSERT_TRUE(k2.save(Path("s/k2.bmp"), "BMP"));
    Form1& f = Start(true);
    // Ink under the caret's white ground stays visible while the caret shows.
    QImage ink(4, 4, QImage::Format_RGB32);
    ink.fill(Qt::black);
    f.editor().page.paintPicture(ink, ink.rect(), 26, 110);
    ui().Option1[2]->click();
    ASSERT_TRUE(f.editor().caret.Visible);
    EXPECT_EQ(CanvasPixel(27, 111), 0u);
    EXPECT_EQ(CanvasPixel(21, 110), qRgb(0, 90, 200) & 0xFFFFFFu);
}

}  // namespace
}  // namespace qn
