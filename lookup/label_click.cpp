#include "frm_ZEL.h"

void frm_ZEL::label1_Click(int index) { (void)index; }
