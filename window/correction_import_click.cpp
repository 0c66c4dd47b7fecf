#include "frm_ZEL.h"

void frm_ZEL::import_correction_file(const QString&) {}
