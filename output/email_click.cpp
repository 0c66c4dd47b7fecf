#include "frm_ZEL.h"

void frm_ZEL::cmd_e_mail_Click() {}
