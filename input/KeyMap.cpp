// MapKeyToSymbol: a key code to the symbol code it stamps, from the page's key table.
#include "KeyHandler.h"
#include "KeyTable.h"

namespace qn {

Integer KeyHandler::MapKeyToSymbol(Integer keyCode) {
    EditorState& st = ed_.st;
    st.GlyphBand = 0;
    Integer code = 0;
    if (const KeyEntry* e = FindPageKey(keyCode); e && e->symbol != 0) {
        code = st.HalfWidthMode == 0 ? e->symbol : e->halfSymbol;
        st.GlyphBand = e->glyphBand;
    }
    // Staff input writes in the chosen key: every note result is lowered by it.
    // The rest (35) has no pitch and stays.
    if (code < 35 && view_.Check1()) code = Integer(code - view_.Combo2ListIndex());
    return code;
}

}  // namespace qn
