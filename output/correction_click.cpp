#include "frm_ZEL.h"

void frm_ZEL::cmd_corrections_Click() {}
