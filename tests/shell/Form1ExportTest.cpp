// The window's pictures: the composition equals what the window draws, the
// batch command exports off screen and leaves the window's document alone,
// Ctrl+E and Ctrl+P write the same page.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include "BatchExport.h"

#include "WindowFixture.h"

namespace qn {
namespace {

class Form1Export : public test::WindowFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        Write("speed.txt", "Largo\r\n");
        Write("explin.txt", "rit.\r\na tempo\r\n");
        QDir(dir.path()).mkpath("s/sik");
        QImage pic(12, 9, QImage::Format_RGB32);
        pic.fill(QColor(200, 0, 0));
        pic.save(Path("s/sik/1.bmp"), "BMP");
        form = std::make_unique<Form1>(dir.path(), &dialogs);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void TearDown() override { form->close(); }
    // A page with notes, a title, a phrase and a picture.
    void Fill() {
        for (Integer k : {49, 50, 51, 52, 53, 54, 55}) form->Picture1_KeyDown(k, 0);
        dialogs.inputAnswers = {QStringLiteral("Export 标题")};
        form->Label1_DblClick();
        form->editor().caret.Left = 200;
        form->editor().caret.Top = 216;
        form->Picture1_KeyDown(68, 0);
        ui().List1->setCurrentRow(1);
        form->Command5_Click();
        form->Picture1_KeyDown(70, 0);
        ui().File1->setCurrentRow(0);
        form->File1_Click();
        form->Command8_Click();
    }
    // The canvas as drawn on screen, without caret, guide lines and margin line.
    QImage Screen() {
        ui().Check2->setChecked(false);
        form->editor().caret.Visible = false;
        const int margin = ui().Picture1->marginLineX();
        ui().Picture1->setMarginLine(-1);
        const QImage shot = ui().Picture1->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ui().Picture1->setMarginLine(margin);
        return shot;
    }
    // A black row drawn straight into the page, as an eraser-free hand mark would be.
    void InkRow(int y) {
        QImage black(form->editor().page.width(), 1, QImage::Format_RGB32);
        black.fill(Qt::black);
        History::Step step(form->editor().history);
        form->editor().page.paintPicture(black, black.rect(), 0, y);
    }

};

std::string FirstDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return "sizes differ";
    int n = 0;
    QString first;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && n++ == 0) first = QStringLiteral("(%1,%2)").arg(x).arg(y);
    return n ? QStringLiteral("%1 pixels differ, first at %2").arg(n).arg(first).toStdString() : std::string();
}

TEST_F(Form1Export, CompositionIsWhatTheWindowDraws) {
    Fill();
    const QImage composed = RenderComposition(form->ScreenComposition());
    EXPECT_EQ(FirstDifference(composed, Screen()), "");
}

TEST_F(Form1Export, DocumentReadFromItsFilesLooksAsInTheWindow) {
    Fill();
    dialogs.fileAnswers.push_back(Path("song.bmp"));
    form->Command1_Click(1);
    ASSERT_TRUE(QFile::exists(Path("song.dat")));
    ASSERT_EQ(ExportDocument(Path("song.bmp"), Path("out.png"), ExportFormat::Png, 100, form->BatchExportSource()),
              QString());
    // The window after opening the same files (the page number now comes from the file).
    dialogs.fileAnswers.push_back(Path("song.bmp"));
    form->Command1_Click(0);
    EXPECT_EQ(FirstDifference(QImage(Path("out.png")).convertToFormat(QImage::Format_RGB32), Screen()), "");
}

TEST_F(Form1Export, BatchLeavesTheWindowsDocumentAlone) {
    Fill();
    dialogs.fileAnswers.push_back(Path("mine.bmp"));
    form->Command1_Click(1);
    QDir(dir.path()).mkpath("folder");
    QFile::copy(Path("mine.bmp"), Path("folder/x.bmp"));
    QFile::copy(Path("mine.dat"), Path("folder/x.dat"));
    QImage other(668, 945, QImage::Format_RGB32);
    other.fill(Qt::white);
    ASSERT_EQ(SaveScoreFiles(Path("folder/y.bmp"), other, StartUpDocument()), QString());
    const QImage page = form->editor().page.image();
    const QString title = ui().Label1->text();

    ui().Check12->setChecked(true);
    dialogs.fileAnswers.push_back(Path("folder/x.bmp"));
    form->Command1_Click(3);
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_EQ(dialogs.messages.last(), "导出成功");
    const QStringList made = QDir(Path("folder")).entryList({"导出 *"}, QDir::Dirs);
    ASSERT_EQ(made.size(), 1);
    EXPECT_EQ(QDir(Path("folder/" + made[0])).entryList(QDir::Files), QStringList({"x.bmp", "y.bmp"}));
    EXPECT_EQ(dialogs.openedFolders, QStringList({Path("folder/" + made[0])}));
    EXPECT_EQ(form->editor().st.DocumentPath, Path("mine.bmp"));
    EXPECT_EQ(form->editor().page.image(), page);
    EXPECT_EQ(ui().Label1->text(), title);
    for (int i = 0; i <= 7; ++i) {
        if (ui().Command1[i]) {
            EXPECT_TRUE(ui().Command1[i]->isEnabled()) << i;
        }
    }
}

// The title is opaque on screen only: ink under the title band stays in every
// export (the picture, the batch, PDF).
TEST_F(Form1Export, InkUnderTheTitleBandIsExported) {
    InkRow(15);  // crosses the title's band (it starts at y 8)
    const QImage composed = RenderComposition(form->ScreenComposition());
    int black = 0;
    for (int x = 0; x < composed.width(); ++x) black += composed.pixel(x, 15) == qRgb(0, 0, 0);
    EXPECT_EQ(black, composed.width());
}

// `Line3` is shown at W - 14, moves with a right click on the title, and is in
// no export.
TEST_F(Form1Export, MarginLineIsShownMovedAndNeverExported) {
    const int W = form->editor().page.width();
    const int y = 500;  // an empty row of the page
    const auto column = [&](const QImage& img, int x) { return QColor(img.pixel(x, y)); };
    ui().Check2->setChecked(false);
    QImage shot = ui().Picture1->grab().toImage();
    EXPECT_NE(column(shot, W - 14), QColor(Qt::white));
    EXPECT_EQ(column(shot, W - 15), QColor(Qt::white));
    EXPECT_EQ(form->Line3X1(), W - 14);

    form->Label1_MouseDown(Qt::RightButton, QPoint(200, 5));
    shot = ui().Picture1->grab().toImage();
    EXPECT_EQ(form->Line3X1(), 200);
    EXPECT_NE(column(shot, 200), QColor(Qt::white));
    EXPECT_EQ(column(shot, W - 14), QColor(Qt::white));

    const QImage composed = RenderComposition(form->ScreenComposition());
    for (int x = 0; x < composed.width(); ++x)
        ASSERT_EQ(QColor(composed.pixel(x, y)), QColor(Qt::white)) << "x " << x;
}

// The open document is exported as it stands: edits made after its last save
// are in the picture, the other documents come from their files.
TEST_F(Form1Export, BatchExportsTheOpenDocumentWithItsUnsavedEdits) {
    QDir(dir.path()).mkpath("folder");
    Fill();
    SaveAs("folder/open.bmp");
    const QImage saved = form->editor().page.image();
    for (Integer k : {51, 51, 51}) form->Picture1_KeyDown(k, 0);  // not saved
    InkRow(15);
    ASSERT_NE(form->editor().page.image(), saved);
    const QImage expected =
        ScaleForExport(RenderComposition(form->ScreenComposition()), form->editor().st.ExportScale);

    dialogs.fileAnswers.push_back(Path("folder/open.bmp"));
    form->Command1_Click(3);
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_EQ(dialogs.messages.last(), "导出成功");
    EXPECT_TRUE(dialogs.asked.contains("定位文件夹 位图(*.bmp)"));
    const QStringList made = QDir(Path("folder")).entryList({"导出 *"}, QDir::Dirs);
    ASSERT_EQ(made.size(), 1);
    const QImage exported(Path("folder/" + made[0] + "/open.bmp"));
    EXPECT_EQ(FirstDifference(exported.convertToFormat(QImage::Format_RGB32),
                              expected.convertToFormat(QImage::Format_RGB32)),
              "");
    EXPECT_TRUE(form->IsModified());  // still unsaved, still open
    EXPECT_EQ(form->editor().st.DocumentPath, Path("folder/open.bmp"));
}

TEST_F(Form1Export, BatchNamesTheDocumentsItCouldNotExport) {
    QDir(dir.path()).mkpath("f");
    Write("f/bad.bmp", "BM not really");
    Write("f/bad.dat", "");
    dialogs.fileAnswers.push_back(Path("f/bad.bmp"));
    form->Command1_Click(3);
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_NE(dialogs.messages.last(), "导出成功");
    EXPECT_TRUE(dialogs.messages.last().contains("bad.bmp"));
    EXPECT_TRUE(dialogs.openedFolders.isEmpty());  // Check12 is off
}

TEST_F(Form1Export, CtrlEAndCtrlPWriteThePage) {
    Fill();
    const QImage before = form->editor().page.image();
    dialogs.exportAnswers.push_back({Path("page.png"), QStringLiteral("PNG (*.png)")});
    ui().Picture1->setFocus();
    QTest::keyClick(ui().Picture1, Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(QFile::exists(Path("page.png")));
    EXPECT_EQ(FirstDifference(QImage(Path("page.png")).convertToFormat(QImage::Format_RGB32), Screen()), "");
    dialogs.printToPdf = Path("printed.pdf");
    QTest::keyClick(ui().Picture1, Qt::Key_P, Qt::ControlModifier);
    QFile pdf(Path("printed.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
    EXPECT_EQ(form->editor().page.image(), before);  // nothing was stamped
}

// The print style: chosen in the menu under "打印", used by Ctrl+E's PDF and
// SVG, kept over a restart in the user's settings and never in "set.ini".
TEST_F(Form1Export, PrintStyleIsKeptOverARestartAndSetIniStaysAsItWas) {
    Fill();
    QMenu* styles = form->CommandMenu()->findChild<QMenu*>(QStringLiteral("PrintStyleMenu"));
    ASSERT_NE(styles, nullptr);
    QStringList captions;
    for (QAction* a : styles->actions()) captions << a->text();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("矢量"), QStringLiteral("原样")}));
    EXPECT_EQ(form->CurrentPrintStyle(), PrintStyle::Vector) << "the default";
    EXPECT_TRUE(styles->actions()[0]->isChecked());

    // Vector: an SVG through Ctrl+E with real text and no picture of the page.
    dialogs.exportAnswers.push_back({Path("page.svg"), QStringLiteral("SVG (*.svg)")});
    form->ExportPageCommand();
    QFile svg(Path("page.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray xml = svg.readAll();
    EXPECT_TRUE(xml.contains("<svg"));
    EXPECT_TRUE(xml.contains(QStringLiteral("Export 标题").toUtf8()));

    QFile ini(Path("set.ini"));
    const bool hadIni = ini.exists();
    const QByteArray iniBefore = hadIni && ini.open(QIODevice::ReadOnly) ? ini.readAll() : QByteArray();
    ini.close();
    styles->actions()[1]->trigger();
    EXPECT_EQ(form->CurrentPrintStyle(), PrintStyle::AsShown);
    form->close();
    form = std::make_unique<Form1>(dir.path(), &dialogs);
    EXPECT_EQ(form->CurrentPrintStyle(), PrintStyle::AsShown) << "kept over the restart";
    styles = form->CommandMenu()->findChild<QMenu*>(QStringLiteral("PrintStyleMenu"));
    ASSERT_NE(styles, nullptr);
    EXPECT_TRUE(styles->actions()[1]->isChecked());
    ASSERT_EQ(QFile::exists(Path("set.ini")), hadIni);
    if (hadIni) {
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        EXPECT_EQ(ini.readAll(), iniBefore) << "\"set.ini\" is not where the style is kept";
    }

    // As shown: the PDF holds the page as one picture.
    dialogs.exportAnswers.push_back({Path("shown.pdf"), QStringLiteral("PDF (*.pdf)")});
    form->ExportPageCommand();
    QFile pdf(Path("shown.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.contains("/Subtype /Image"));
    EXPECT_FALSE(bytes.contains("/DCTDecode")) << "never JPEG";
    form->SetPrintStyle(PrintStyle::Vector);  // the next tests start from the default
}

}  // namespace
}  // namespace qn

namespace qn {
namespace {

// Note-on keys of a standard MIDI file, in file order (velocity above 0).
std::vector<int> MidiNoteOns(const QByteArray& midi) {
    std::vector<int> keys;
    int pos = 14;  // after MThd
    while (pos + 8 <= midi.size()) {
        const int length = qFromBigEndian<qint32>(midi.constData() + pos + 4);
        const bool track = midi.mid(pos, 4) == "MTrk";
        int p = pos + 8;
        const int end = std::min<int>(int(midi.size()), p + length);
        quint8 status = 0;
        while (track && p < end) {
            while (p < end && (quint8(midi[p++]) & 0x80)) {}  // delta time
            if (p >= end) break;
            quint8 b = quint8(midi[p]);
            if (b & 0x80) {
                status = b;
                ++p;
            }
            auto varlen = [&] {
                int v = 0;
                while (p < end) {
                    const quint8 c = quint8(midi[p++]);
                    v = (v << 7) | (c & 0x7f);
                    if (!(c & 0x80)) break;
                }
                return v;
            };
            if (status == 0xFF) {
                ++p;  // meta type
                p += varlen();
            } else if (status == 0xF0 || status == 0xF7) {
                p += varlen();
            } else {
                const int kind = status & 0xF0;
                const int data = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
                if (kind == 0x90 && p + 1 < end && quint8(midi[p + 1]) > 0) keys.push_back(quint8(midi[p]));
                p += data;
            }
        }
        pos += 8 + length;
    }
    return keys;
}

TEST_F(Form1Export, CtrlEWritesTheNotesAsMidiAndMusicXml) {
    dialogs.inputAnswers = {QStringLiteral("Melody")};
    form->Label1_DblClick();
    ui().Combo1[2]->setCurrentIndex(3);  // 1=bE
    form->Combo1_Click(2);
    for (Integer k : {49, 50, 51, 52}) form->Picture1_KeyDown(k, 0);
    dialogs.exportAnswers.push_back({Path("m.mid"), QStringLiteral("MIDI (*.mid)")});
    dialogs.exportAnswers.push_back({Path("m.musicxml"), QStringLiteral("MusicXML (*.musicxml)")});
    ui().Picture1->setFocus();
    QTest::keyClick(ui().Picture1, Qt::Key_E, Qt::ControlModifier);
    QTest::keyClick(ui().Picture1, Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    QFile midi(Path("m.mid"));
    ASSERT_TRUE(midi.open(QIODevice::ReadOnly));
    const QByteArray bytes = midi.readAll();
    EXPECT_TRUE(bytes.startsWith("MThd"));
    EXPECT_EQ(MidiNoteOns(bytes), (std::vector<int>{63, 65, 67, 68}));  // Eb F G Ab
    QFile xml(Path("m.musicxml"));
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(xml.readAll());
    EXPECT_TRUE(text.contains("<score-partwise"));
    EXPECT_TRUE(text.contains("Melody"));
    EXPECT_TRUE(text.contains("<fifths>-3</fifths>"));
    EXPECT_EQ(text.count("<note"), 4);
}

// The extension typed into the file name wins over the file type chosen; a
// sound file is one of the types; an empty page is exported with a word.
TEST_F(Form1Export, CtrlETypedExtensionWinsAndTheSoundFile) {
    ui().Picture1->setFocus();
    dialogs.exportAnswers.push_back({Path("empty.mid"), QStringLiteral("BMP (*.bmp)")});
    QTest::keyClick(ui().Picture1, Qt::Key_E, Qt::ControlModifier);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("页面上没有音符"))) << dialogs.messages[0].toStdString();
    dialogs.messages.clear();

    for (Integer k : {49, 50, 51, 52}) form->Picture1_KeyDown(k, 0);
    dialogs.exportAnswers.push_back({Path("typed.musicxml"), QStringLiteral("BMP (*.bmp)")});
    dialogs.exportAnswers.push_back({Path("typed.png"), QStringLiteral("MIDI (*.mid)")});
    dialogs.exportAnswers.push_back({Path("typed.wav"), QStringLiteral("WAV (*.wav)")});
    for (int i = 0; i < 3; ++i) QTest::keyClick(ui().Picture1, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    QFile xml(Path("typed.musicxml"));
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    EXPECT_TRUE(xml.readAll().contains("<score-partwise"));
    EXPECT_EQ(QImage(Path("typed.png")).format() != QImage::Format_Invalid, true);
    QFile wav(Path("typed.wav"));
    ASSERT_TRUE(wav.open(QIODevice::ReadOnly));
    const QByteArray head = wav.read(44);
    EXPECT_TRUE(head.startsWith("RIFF"));
    EXPECT_EQ(head.mid(8, 4), QByteArray("WAVE"));
    EXPECT_GT(wav.size(), 44 + 4 * 44100);  // four quarters at 72 and the tail: more than a second
}

TEST_F(Form1Export, PlayingWithoutAnAudioOutputLeavesTypingAlone) {
    for (Integer k : {49, 50, 51}) form->Picture1_KeyDown(k, 0);
    const QImage before = form->editor().page.image();
    ui().Picture1->setFocus();
    QTest::keyClick(ui().Picture1, Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(ui().Picture1, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form->editor().page.image(), before);  // the shortcut stamps nothing
    form->StopPlayback();
    QTest::keyClick(ui().Picture1, Qt::Key_4);
    EXPECT_NE(form->editor().page.image(), before);  // typing goes on
    EXPECT_FALSE(form->IsPlaying() && form->findChild<QWidget*>("PlaybackMarker")->isHidden());
}

}  // namespace
}  // namespace qn
