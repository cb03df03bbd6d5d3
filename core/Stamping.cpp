// StampSymbol: the only operation that writes a symbol into the page.
#include <QRect>

#include "Editor.h"

namespace qn {

namespace {
bool validBand(Integer band) { return band >= 0 && band < 10; }
}  // namespace

void Editor::StampSymbol(Integer code, Integer beams) {
    if (code == 999) {
        Backspace();
        return;
    }
    if (code < 0) return;
    if (code <= 99) {
        if (st.NoteInputMode == 1)
            NotePath(code, beams);
        else
            ChordPath(code);
        view_.PlaySoundEffect(QStringLiteral("kac.wav"));
        return;
    }
    if (code <= 199) {
        FullWidthPath(code);
        return;
    }
    if (code <= 299) HalfWidthPath(code);
}

void Editor::WrapCaret() {
    if (caret.Left > page.width() - geom::RightLimitInset) {
        caret.Left = geom::LeftMargin;
        caret.Top = caret.Top + linePitch();
        st.SpacingClass = 5;
    }
}

void Editor::Backspace() {
    st.SpacingClass = 5;
    st.BarUnits = 0;
    Integer width = st.LastCellWidth;
    if (width == 2) width = st.HalfWidthMode;
    const int step = width == 0 ? geom::FullCell : geom::HalfCell;
    const int x = caretX(), y = caretY();
    const int W = page.width();

    if (st.InsertMode == 1) {
        if (caret.Left > geom::LeftMargin) {
            // The rest of the line slides left over the erased cell.
            page.bitBlt(QRect(x, y, W + 120, geom::LineHeight), x - step, y);
            view_.RefreshPage();
        }
    } else {
        page.paintPicture(Picmode2(), QRect(0, 0, step, geom::LineHeight), x - step, y);
    }
    caret.Left = caret.Left - step;
    st.LastCellWidth = 2;

    if (caret.Left < geom::LeftMargin) {
        if (caret.Top > geom::FirstLineTop) {
            caret.Top = caret.Top - linePitch();
            caret.Left = W - geom::RightLimitInset;
            if (caret.Top < geom::FirstLineTop) caret.Top = geom::FirstLineTop;
            page.paintPicture(Picmode2(), QRect(0, 0, geom::FullCell, geom::LineHeight), caretX(), caretY());
        } else {
            caret.Left = geom::LeftMargin;
        }
    }
}

void Editor::InsertShift(int s) {
    const int W = page.width();
    if (st.InsertMode != 1 || !(W - geom::RightLimitInset > caret.Left)) return;
    const int x = caretX(), y = caretY();
    page.bitBlt(QRect(x, y, W - x, geom::LineHeight), x + s, y);
    view_.RefreshPage();
    // Nothing pushed into the right-edge strip may stay there.
    page.fillWhite(QRect(W - 20, y, 20, geom::LineHeight));
}

void Editor::NotePath(Integer code, Integer beams) {
    BeatDivision();
    if (code == 41) beams = 0;  // a dash carries no beams
    st.LastBeamCount = beams;
    BridgeBeamGap(beams);
    const int g = AutomaticSpacing(beams);
    InsertShift(geom::FullCell + g);
    page.paintPicture(Picmode(), NoteCellRect(code, beams), caretX(), caretY());
    const Single lineTop = caret.Top, noteEnd = caret.Left + geom::FullCell;
    caret.Left = noteEnd;
    st.LastCellWidth = 0;
    st.SpacingClass = beams;
    WrapCaret();
    CountNote(beams, lineTop, noteEnd);
}

void Editor::FullWidthPath(Integer code) {
    if (code == 115 && !CountDot()) return;
    InsertShift(geom::FullCell);
    const Integer band = validBand(st.GlyphBand) ? st.GlyphBand : 0;
    const int top = st.BandTop[band], height = st.BandHeight[band];
    const Single lineTop = caret.Top, lineEnd = caret.Left + geom::FullCell;
    page.paintPicture(Picmode2(), OrnamentCellRect(code, top, height), caretX(), caretY() + top);
    caret.Left = caret.Left + geom::FullCell;
    st.LastCellWidth = 0;
    WrapCaret();
    OrnamentBookkeeping(code, geom::FullCell);
    if (code >= 101 && code <= 105) {
        if (BarCompletesLine() && caret.Top != lineTop) {
            // The bar line's own advance already wrapped the caret. The line break
            // must finish the line the bar line closed, not the empty one below it.
            caret.Top = lineTop;
            caret.Left = lineEnd;
        }
        CountBar();
    }
    if (code == 101) view_.PlaySoundEffect(QStringLiteral("ding.wav"));
}

void Editor::HalfWidthPath(Integer code) {
    InsertShift(geom::HalfCell);
    const Integer band = validBand(st.GlyphBand) ? st.GlyphBand : 0;
    const int top = st.BandTop[band], height = st.BandHeight[band];
    page.paintPicture(Picmode2(), OrnamentCellRect(code, top, height), caretX(), caretY() + top);
    caret.Left = caret.Left + geom::HalfCell;
    st.LastCellWidth = 1;
    WrapCaret();
    OrnamentBookkeeping(code, geom::HalfCell);
}

}  // namespace qn
