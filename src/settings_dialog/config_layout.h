// frmConfig's form data: the window and its controls, in twips, in focus order.
#pragma once

#include "platform/dialog_layout.h"

namespace fq {

const DialogLayout& ConfigLayout();

}  // namespace fq
