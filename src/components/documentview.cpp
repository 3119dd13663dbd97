#include "documentview.h"

DocumentView::~DocumentView() = default;
