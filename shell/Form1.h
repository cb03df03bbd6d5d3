#pragma once
// The main window `Form1`: toolbar panel, rhythm palette, page canvas and the
// panels that open over the page. One class, split by aspect over
// Form1_<Aspect>.cpp; the banners below name the file of each group. The
// controls themselves live in Form1_Controls.h.
//
// The window is the EditorView of the core, the InputView of the key handler and
// the MouseView of the mouse handler: they read the controls at the moment of
// use and call the handlers below.

#include <QColor>
#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "Editor.h"
#include "InputView.h"
#include "KeyHandler.h"
#include "BatchExport.h"
#include "MouseHandler.h"
#include "MouseView.h"
#include "ScoreDocument.h"
#include "SlurMarker.h"

class QAction;
class QComboBox;
class QFrame;
class QMenu;
class QKeyEvent;
class QTimer;

namespace qn::score {
class ScorePlayer;
}

namespace qn {

class ClickLabel;
class Dialogs;
class KeyChart;
class RecoveryWriter;
struct RecoverySnapshot;
class OutlineWindow;
class OverlaySlots;
class SoundPlayer;

class Form1 : public QWidget, public EditorView, public InputView, public MouseView {
    Q_OBJECT
public:
    struct Controls;

    // programFolder holds the data files; dialogs defaults to the standard ones.
    explicit Form1(const QString& programFolder, Dialogs* dialogs = nullptr,
                   QWidget* parent = nullptr);
    ~Form1() override;

    Editor& editor() { return editor_; }
    Controls& controls() { return *ui; }
    const QString& programFolder() const { return programFolder_; }
    SoundPlayer& soundPlayer() { return *sound_; }

    // ---- Form1_Design.cpp: the controls and their design-time properties
private:
    void CreateControls();
    void CreateToolbar();
    void CreatePageControls();
    void CreateOptionsPanel();
    void CreateOverlayPanels();
    void ConnectHandlers();

    // ---- Form1_Startup.cpp: start-up
public:
    void Form_Load();
private:
    QStringList ReadListOrWarn(const QString& name);

    // ---- Form1_Layout.cpp: page layout, guide lines, page scroll
public:
    void LayoutPage();
    void HScroll2_Change(int index);
    void Check2_Click();
    void VScroll1_Change();
    std::vector<QLine> VisibleGuideLines() const;

    // ---- Form1_Options.cpp: options panel `Picture2` and "set.ini"
    void LoadOptions();
    QString SaveOptions();  // error text, empty on success
    void Label6_MouseDown(int index, Qt::MouseButton button);
    void Label6s_MouseDown(int index, Qt::MouseButton button);
    void Check8_Click();
    void Check10_Click();
    void Check11_Click();
    void Check12_Click();
    void Command3_Click();

    // ---- Form1_Toggles.cpp: sound, caret blink, mode toggles, palette, chord colour
    void PlaySoundEffect(const QString& name) override;
    void Timer1_Timer();
    void Command2_Click() override;
    void Command4_Click() override;
    void Command10_Click() override;
    void Command16_Click();
    void Option1_Click(Integer index) override;
    void Check5_Click(int index);
    void Label5_Click();
    QColor ChordColour() const;

    // ---- Form1_Header.cpp: header labels, their in-place editors, the title drag
    void HideInlineEditors();
    void Combo1_Click(int index);
    void SelectCombo1Entry(int index, int entry);  // as a choice in code: runs Combo1_Click
    void Label2_MouseDown(int index, Qt::MouseButton button);
    void HScroll1_Change();
    void List2_DblClick();
    void Label1_DblClick();
    void Label1_MouseDown(Qt::MouseButton button, QPoint pos);
    void Label1_MouseMove(Qt::MouseButtons buttons, QPoint pos);
    void Label1_MouseUp(Qt::MouseButton button, QPoint pos);
    void Label16_Click();
    void Label18_Click();
    OutlineWindow& Form2() { return *form2_; }
private:
    // Sets a header label's text; a real change marks the document modified.
    void SetHeaderText(ClickLabel* label, const QString& text);
public:

    // ---- Form1_Overlays.cpp: the insert panels and the overlays' selection
    void Command5_Click();
    void List1_DblClick();
    void Command6_Click();   // closes the text-insert panel
    void File1_Click();
    void Command8_Click();
    void Command9_Click();   // closes the picture-insert panel
    void Label7_Click(int index);
    void Label7_MouseUp(int index);
    void Ima_Click(int index);
    OverlaySlots& overlays() { return *overlays_; }
    QString PictureLibraryFolder() const;
private:
    // Runs change on an overlay and records what it did as an undo step's part.
    void ChangeOverlay(ClickLabel* overlay, const std::function<void()>& change);
public:

    // ---- Form1_Documents.cpp: document commands, SaveScore and OpenScore
    void Command1_Click(int index);
    // Writes the page and its sidecar at DocumentPath; error text, empty on success.
    QString SaveScore();
    // Opens the document at path; on failure nothing changes and the error is returned.
    QString OpenScore(const QString& path, bool batchExport = false);
    ScoreDocument CurrentDocument() const;
    // The page, the header or the overlays changed since the last new, open or save.
    bool IsModified() const;
    // A change of the document that no undo step holds.
    void MarkModified() { headerOrOverlaysChanged_ = true; }
private:
    void MarkClean();
    void ApplyDocument(const ScoreDocument& doc, const ScoreDocument::Held& held, bool batchExport);
    bool SaveCommand(bool askName);  // false when cancelled or failed
    bool ConfirmDiscard();           // false: the user cancelled (or a save failed)
    void NewPage();
    void OpenCommand();
public:
    // ---- Form1_Import.cpp: "导入" (Ctrl+I), a MusicXML song as the page
    void ImportCommand();
private:
protected:
    void closeEvent(QCloseEvent* event) override;
public:

    // ---- Form1_Export.cpp: the batch export, Ctrl+E and Ctrl+P
    // The page as the window shows it (no caret, guide lines or panels).
    PageComposition ScreenComposition() const;
    PageFacts ScreenFacts() const;  // what the header says about the music
    ExportSource BatchExportSource() const;
    void BatchExportCommand();
    void ExportPageCommand();
    void PrintCommand();
    // How PDF, SVG and printing draw the page ("矢量" or "原样"), kept in the
    // user's settings (never in "set.ini").
    PrintStyle CurrentPrintStyle() const { return printStyle_; }
    void SetPrintStyle(PrintStyle style);
    static PrintStyle SavedPrintStyle();

    // ---- Form1_Playback.cpp: Ctrl+R plays the page read back as notes
    void PlayCommand(bool fromCaretLine);
    void StopPlayback();
    bool IsPlaying() const;
private:
    void UpdatePlaybackMarker();
    void CreatePlaybackControls();
public:
    // ---- Form1_Recovery.cpp: autosave into a recovery copy, and recovery after a crash
    // Seconds between recovery copies: QUILLNOTE_AUTOSAVE_SECONDS, else the
    // setting "autosave/intervalSeconds", else 30; 0 turns autosave off.
    static int AutosaveSeconds();
    // Hands a copy of the unsaved document to the recovery writer (no file
    // work on this thread). Runs on the autosave timer.
    void AutosaveTimer_Timer();
    RecoverySnapshot RecoveryState() const;
    RecoveryWriter* recoveryWriter() { return recovery_.get(); }
private:
    void StartRecovery();
    bool RestoreRecovery(const RecoverySnapshot& copy);
public:

    // ---- Form1_History.cpp: undo and redo (Ctrl+Z; Ctrl+Y, Ctrl+Shift+Z)
    void Undo();
    void Redo();
    void StateRestored() override;

    // ---- Form1_Menu.cpp: the menu button "≡" with every command and its
    // shortcut, the key chart and "关于"
    struct MenuEntry {
        QString caption;  // empty: a separator
        QList<QKeySequence> keys;
        std::function<void()> run;
    };
    std::vector<MenuEntry> MenuEntries();
    QMenu* CommandMenu() const { return commandMenu_; }
    QList<QAction*> MenuActions() const;  // the menu's commands, in order
    void ShowKeyChart();
    void ShowAbout();
    KeyChart* keyChart() const { return keyChart_; }  // null until first shown
    static constexpr int kMenuButtonWidth = 24;
private:
    void CreateCommandMenu();
    void CreatePrintStyleMenu(QAction* before);
public:

    // ---- Form1_Toolbar.cpp: the other toolbar controls
    void Check1_Click();
    void Combo2_Click();
    void Combo3_Click();
    void Label3_Click();
    void Command14_Click();
    void Command15_Click();
    void Command12_Click();  // closes the new-score dialog

    // ---- Form1_Staff.cpp: the staff panel `Picture3`, its preview and selectors
    void Label10_MouseMove(QPoint pos);
    void Label10_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void LoadStaffMarker();
    void Command13_Click();
    void Check7_Click();
    void Label12_Click();
    void Label13_Click();
private:
    void CreateStaffPanel();
    void ConnectStaffHandlers();
    void ShowStaffPanel(bool shown);
    void ShowClef(bool treble);  // Image1(0) or Image1(1)
    bool BassClef() const;
public:

    // ---- Form1_NewScore.cpp: the new-score dialog `Picture8` (its lists are the header's)
    void Label14_Click();
    void HScroll3_Change();
    void Combo4_Click();
    void Command11_Click();
private:
    void CreateNewScoreDialog();
    void ConnectNewScoreHandlers();
public:

    // ---- Form1_Views.cpp: what the core and the key handler read and call
    bool Check4() override;
    bool Check8() override;
    QString Label6sCaption(int index) override;
    int HScroll2(int index) override;
    int Line3X1() override;
    QRgb Label5ForeColor() override;
    void RefreshPage() override;
    void Picture1_KeyDown(Integer keyCode, Integer shift) override;
    void Picture1_KeyUp(Integer keyCode, Integer shift);

    bool Check1() override;
    int Combo2ListIndex() override;
    bool Check5(int index) override;
    bool Check11() override;
    void SetOption1Value(Integer index) override;
    void RestartBlink() override;
    void LoadCaretPicture(Integer index) override;
    void ShowNewScoreDialog() override;
    void ShowPictureInsertPanel(int left, int top) override;
    void ShowTextInsertPanel(int left, int top) override;
    bool OverlayPosition(Integer selected, int& left, int& top) override;
    void MoveOverlay(Integer selected, int left, int top) override;
    void HideOverlay(Integer selected) override;
    void Beep() override;

    // ---- Form1_Mouse.cpp: the mouse on the page, the region clipboard, the
    // lyrics box (the MouseView part; HideInlineEditors, FocusPage, Beep and
    // PlaySoundEffect above serve it too)
    void Picture1_MouseDown(Integer button, Integer shift, Single X, Single Y);
    void Picture1_MouseMove(Integer button, Integer shift, Single X, Single Y);
    void Picture1_MouseUp(Integer button, Integer shift, Single X, Single Y);
    void Picture1_Click();
    bool Textgc_KeyDown(Integer keyCode, Integer shift);  // true: Enter, taken
    void Textgc_LostFocus();
    MouseHandler& mouse() { return mouse_; }

    int Combo3ListIndex() override;
    void PlaceShape1(const QRect& r) override;
    void SetShape1Look(EraserLook look) override;
    void ShowShape2(const QRect& r) override;
    void HideShape2() override;
    void CaretMoved() override;
    void RepaintPage(const QRect& area) override;
    void DeselectOverlay(Integer selected) override;
    void OpenLyricsBox(int top, const QString& prompt) override;
    void HideLyricsBox() override;
    QString LyricsText() override;
    QPoint LyricsPosition() override;
    QFont LyricsFont() override;
private:
    void CreateMouseControls();
    void ConnectMouseHandlers();
public:

    // ---- Form1_Marks.cpp: the slur key L with its marker, the grace-note key O
    void SlurKey() override;
    void GraceNoteKey() override;
    const SlurMark& Label8() const { return label8_; }

private:
    void CanvasKeyPress(QKeyEvent* event);
    void CanvasKeyRelease(QKeyEvent* event);
    void FocusPage();  // the input focus back to the page canvas

    QString programFolder_;
    std::unique_ptr<Dialogs> ownDialogs_;
    Dialogs* dialogs_;
    Editor editor_;
    KeyHandler keys_;
    MouseHandler mouse_{editor_, *this};
    SlurMark label8_;  // the slur start marker; the control ui->Label8 shows it
    std::unique_ptr<Controls> ui;
    SoundPlayer* sound_ = nullptr;
    int previewRow_ = -1;  // the library file whose picture `Image2` shows
    QPixmap caretPictures_[4];  // "s/k0.bmp".."s/k3.bmp", loaded on first use
    QHash<QString, QPixmap> staffMarkers_;  // "wn/*.gif" read so far
    OverlaySlots* overlays_ = nullptr;
    std::unique_ptr<OutlineWindow> form2_;
    bool headerOrOverlaysChanged_ = false;
    quint64 savedUnrecorded_ = 0;  // the page's changes outside the history at the last save
    int layoutValues_[3] = {};     // the layout sliders' values the page was last laid out with
    QPixmap builtinCaret_;
    int caretShown_ = -1;          // the caret picture last asked for: -1 built-in, 0..3 "s/k<n>.bmp"
    bool closing_ = false;  // the exit command already asked
    QString exportFilter_;  // the file type last chosen for Ctrl+E
    PrintStyle printStyle_ = SavedPrintStyle();
    bool mouseStepOpen_ = false;  // an undo step from a press on the page to its release
    score::ScorePlayer* player_ = nullptr;  // made on the first Ctrl+R
    QFrame* playbackMarker_ = nullptr;
    QTimer* markerTimer_ = nullptr;
    QMenu* commandMenu_ = nullptr;
    KeyChart* keyChart_ = nullptr;
    std::unique_ptr<RecoveryWriter> recovery_;
    QTimer* autosaveTimer_ = nullptr;
};

}  // namespace qn
