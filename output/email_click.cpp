#include "email_list.h"
#include "frm_ZEL.h"
#include "message_box.h"

// Lists the stored addresses only: edits not yet stored stay out of the list.
void frm_ZEL::cmd_e_mail_Click() {
    const EmailListResult result = write_email_list(table, folder);
    if (!result.ok()) show_message(this, result.message, true);
}
