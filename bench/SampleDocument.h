#pragma once
// The document the window benchmarks work on: a default page with eight typed
// lines, the header, and ten overlays (five phrases, five pictures), typed
// into an offscreen main window on the build's program folder.

#include "Form1.h"
#include "Form1_Controls.h"

namespace qn::bench {

inline void FillSampleDocument(Form1& form) {
    form.controls().Check9->setChecked(false);  // no sound device work in the figures
    const Integer digits[] = {49, 50, 51, 52, 53, 54, 55};
    int i = 0;
    while (form.editor().caret.Top < 96 + 8 * 60) form.Picture1_KeyDown(digits[i++ % 7], 0);
    for (int k = 0; k < 5; ++k) {
        form.editor().caret.Left = float(40 + 100 * k);
        form.editor().caret.Top = float(156 + 60 * k);
        form.Picture1_KeyDown(68, 0);
        form.controls().List1->setCurrentRow(k % std::max(1, form.controls().List1->count()));
        form.Command5_Click();
        form.Picture1_KeyDown(70, 0);
        form.controls().File1->setCurrentRow(k % std::max(1, form.controls().File1->count()));
        form.File1_Click();
        form.Command8_Click();
    }
}

}  // namespace qn::bench
