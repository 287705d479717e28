#pragma once

// How a waiting prompt or a message box ended, as the toolkit's modal results number them.
enum ModalResult : int {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
  mrLineLost = 100,  // the waiting dialog's: the OPU's line hung up while it waited
};
