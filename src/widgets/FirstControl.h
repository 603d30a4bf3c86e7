// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWidget;

// Puts the keyboard focus on the first control of a page as Tab reaches it (in
// a group of radio buttons, the chosen one); a page without one leaves the focus
// where it is. For pages of a wizard: the user goes on typing on the new page.
void FocusFirstControl(QWidget& page);
