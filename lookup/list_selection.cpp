#include "frm_ZEL.h"

void frm_ZEL::list1_Click() {}
void frm_ZEL::List2_Click() {}
