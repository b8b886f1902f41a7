#pragma once
// CDialogDelete2: the viewer's confirmation of 删除. It asks exactly what the
// main view's removal asks (same texts, same check-box rule), so it is that
// dialog.

#include "dialogs/dialog_delete.h"

using CDialogDelete2 = DialogDelete;
