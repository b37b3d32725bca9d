#include "layout/layout_records.h"
