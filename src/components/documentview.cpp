// SPDX-License-Identifier: GPL-3.0-or-later

#include "documentview.h"

DocumentView::~DocumentView() = default;
