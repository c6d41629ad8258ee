#include "app/ProgressBlock.h"

namespace wh {

void TProgressBlock::Step() {
    FBlock.Left += 1;
    if (FBlock.Left + FBlock.Width > FFrame.Left + FFrame.Width - 1)
        FBlock.Left = FFrame.Left + 1;
    FBlock.Top = FFrame.Top + 1;
    FBlock.Height = FFrame.Height - 2;
}

} // namespace wh
