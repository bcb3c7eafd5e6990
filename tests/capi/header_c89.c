/* Compiled as C89 with -pedantic-errors: fails the build when the public C
 * header uses anything newer. */
#include "vellcfgrdr/vellcfgrdr.h"

int vell_header_c89_check(void);

int vell_header_c89_check(void) {
    vell_error err;
    err.number = VELL_STATUS_OK;
    return err.number + (int)sizeof(vell_reader*);
}
