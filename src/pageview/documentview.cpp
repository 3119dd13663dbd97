// SPDX-License-Identifier: GPL-3.0-or-later

#include "pageview/documentview.h"

DocumentView::~DocumentView() = default;
