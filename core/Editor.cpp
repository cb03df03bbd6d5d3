#include "Editor.h"

namespace qn {

Editor::Editor(EditorView& view) : view_(view) {}

Integer Editor::ToggleHalfWidthMode() {
    st.HalfWidthMode = Integer(1 - st.HalfWidthMode);
    return st.HalfWidthMode;
}

Integer Editor::ToggleInsertMode() {
    st.InsertMode = Integer(1 - st.InsertMode);
    return st.InsertMode;
}

void Editor::SelectPattern(Integer index) {
    st.NoteValue = index;
    caret.Picture = index;
    caret.Visible = true;
}

}  // namespace qn
