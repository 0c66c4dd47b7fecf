#include "email_list.h"
#include "frm_ZEL.h"

// Lists the stored addresses only: edits not yet stored stay out of the list.
void frm_ZEL::cmd_e_mail_Click() {
    tell_failure(write_email_list(table, folder));
}
