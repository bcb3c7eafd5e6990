/* Reads a PLC project through the C interface of VellCfgRdr and prints its
 * exchange XML; the messages go to standard error.
 *
 *     cc read_plant.c $(pkg-config --cflags --libs vellcfgrdr) -o read_plant
 *     ./read_plant FILE
 *
 * Exit status: 0 converted, 1 the reader ended with another status, 2 an
 * error was raised (53 missing file, 14001 unknown format, ...), 64 usage. */
#include <stdio.h>

#include "vellcfgrdr/vellcfgrdr.h"

static const char* level_name(int32_t level) {
    switch (level) {
        case VELL_MSG_ERROR:
            return "error";
        case VELL_MSG_WARNING:
            return "warning";
        case VELL_MSG_INFO:
            return "info";
        case VELL_MSG_DEBUG:
            return "debug";
        default:
            return "message";
    }
}

static void on_message(const char* text, int32_t level, const char* source, void* user) {
    (void)user;
    fprintf(stderr, "%s: %s: %s\n", level_name(level), source, text);
}

int main(int argc, char** argv) {
    vell_error err;
    vell_reader* reader;
    int32_t status;
    char* xml;
    int result = 0;

    if (argc != 2) {
        fprintf(stderr, "usage: read_plant FILE\n");
        return 64;
    }
    fprintf(stderr, "VellCfgRdr %s (built against %s)\n", vell_version(), VELL_VERSION_STRING);

    reader = vell_reader_create(&err);
    if (!reader) {
        fprintf(stderr, "%d: %s (%s)\n", (int)err.number, err.description, err.source);
        return 2;
    }
    vell_reader_set_message_callback(reader, on_message, NULL);
    status = vell_reader_read(reader, argv[1], &err);
    if (status == -1) {
        fprintf(stderr, "%d: %s (%s)\n", (int)err.number, err.description, err.source);
        result = 2;
    } else if (status != VELL_STATUS_OK && status != VELL_STATUS_WARNINGS) {
        char* text = vell_error_description(reader, status);
        fprintf(stderr, "status %d: %s\n", (int)status, text ? text : "");
        vell_free(text);
        result = 1;
    } else if ((xml = vell_reader_xml(reader, &err)) == NULL) {
        fprintf(stderr, "%d: %s (%s)\n", (int)err.number, err.description, err.source);
        result = 2;
    } else {
        fputs(xml, stdout);
        vell_free(xml);
    }
    vell_reader_destroy(reader);
    return result;
}
