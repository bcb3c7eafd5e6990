/* The C interface used from C, as a host in another language would. */
#define _POSIX_C_SOURCE 200809L

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "vellcfgrdr/vellcfgrdr.h"

static int failures = 0;
static int checks = 0;

#define CHECK(cond)                                                                  \
    do {                                                                             \
        ++checks;                                                                    \
        if (!(cond)) {                                                               \
            ++failures;                                                              \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
        }                                                                            \
    } while (0)

static char folder[256];

static void path_in_folder(char* out, size_t size, const char* name) {
    snprintf(out, size, "%s/%s", folder, name);
}

static void write_file(const char* path, const char* text) {
    FILE* f = fopen(path, "wb");
    if (!f) {
        perror(path);
        exit(2);
    }
    fputs(text, f);
    fclose(f);
}

/* Whether s is well-formed UTF-8 (enough to tell a character cut in two). */
static int valid_utf8(const char* s) {
    const unsigned char* p = (const unsigned char*)s;
    while (*p) {
        int more = *p < 0x80             ? 0
                   : (*p & 0xE0) == 0xC0 ? 1
                   : (*p & 0xF0) == 0xE0 ? 2
                   : (*p & 0xF8) == 0xF0 ? 3
                                         : -1;
        if (more < 0) return 0;
        ++p;
        while (more-- > 0) {
            if ((*p & 0xC0) != 0x80) return 0;
            ++p;
        }
    }
    return 1;
}

struct messages {
    int count;
    int reading_info; /* the "Reading ..." message at info level */
    int errors;
};

static void collect(const char* text, int32_t level, const char* source, void* user) {
    struct messages* m = (struct messages*)user;
    ++m->count;
    if (level == VELL_MSG_INFO && strcmp(source, "PlcCfgReader") == 0 && strstr(text, "Reading "))
        m->reading_info = 1;
    if (level == VELL_MSG_ERROR) ++m->errors;
}

struct nested {
    vell_reader* reader;
    const char* path;
    int32_t status;
    int32_t number;
    int destroy;
};

/* Calls back into the reader that is sending the message. */
static void reenter(const char* text, int32_t level, const char* source, void* user) {
    struct nested* n = (struct nested*)user;
    vell_error err;
    (void)text;
    (void)level;
    (void)source;
    if (n->destroy) {
        vell_reader_destroy(n->reader);
        return;
    }
    n->status = vell_reader_read(n->reader, n->path, &err);
    n->number = err.number;
}

static void test_read_and_xml(const char* slc) {
    vell_error err;
    struct messages msgs = {0, 0, 0};
    vell_reader* r = vell_reader_create(&err);
    char* xml;
    CHECK(r != NULL);
    CHECK(err.number == 0 && err.description[0] == '\0');
    if (!r) return;

    vell_reader_set_message_callback(r, collect, &msgs);
    CHECK(vell_reader_read(r, slc, &err) == VELL_STATUS_OK);
    CHECK(err.number == 0);
    CHECK(msgs.count > 0 && msgs.reading_info);

    xml = vell_reader_xml(r, &err);
    CHECK(xml != NULL);
    if (xml) {
        CHECK(strstr(xml, "configExchangeFile") != NULL);
        CHECK(strstr(xml, "1747-L532") != NULL);
    }
    vell_free(xml);

    /* No callback: reading still works. */
    vell_reader_set_message_callback(r, NULL, NULL);
    msgs.count = 0;
    CHECK(vell_reader_read(r, slc, NULL) == VELL_STATUS_OK);
    CHECK(msgs.count == 0);
    vell_reader_destroy(r);
}

static void test_raised_errors(const char* missing, const char* txt) {
    vell_error err;
    struct messages msgs = {0, 0, 0};
    vell_reader* r = vell_reader_create(&err);
    char longpath[1600];
    size_t i;
    CHECK(r != NULL);
    if (!r) return;
    vell_reader_set_message_callback(r, collect, &msgs);

    CHECK(vell_reader_read(r, missing, &err) == -1);
    CHECK(err.number == 53);
    CHECK(strstr(err.description, missing) != NULL);
    CHECK(strstr(err.source, "ReadIOmap") != NULL);
    CHECK(msgs.count == 0);

    CHECK(vell_reader_read(r, txt, &err) == -1);
    CHECK(err.number == VELL_STATUS_UNKNOWN_FORMAT);
    CHECK(msgs.errors == 1);

    /* A description longer than the buffer is cut between characters. */
    strcpy(longpath, "/no/such/folder/x");
    for (i = 0; i < 700; ++i)
        strcat(longpath, "\xC3\xA9");
    strcat(longpath, ".slc");
    CHECK(vell_reader_read(r, longpath, &err) == -1);
    CHECK(err.number == 53);
    CHECK(strlen(err.description) < VELL_ERROR_DESCRIPTION_SIZE);
    CHECK(strlen(err.description) > VELL_ERROR_DESCRIPTION_SIZE - 8);
    CHECK(valid_utf8(err.description));

    vell_reader_destroy(r);
}

/* A format named whatever the extension, and a project held in memory. */
static void test_read_as_and_from_memory(const char* txt) {
    static const char project[] = "start 1747-L532\r\nrack 1 1746-A7\r\nslot 1 1746-IB16\r\n";
    vell_error err;
    vell_reader* r = vell_reader_create(&err);
    char* xml;
    CHECK(r != NULL);
    if (!r) return;

    CHECK(vell_reader_read_as(r, txt, "slc500", &err) == 321);
    CHECK(vell_reader_read_as(r, txt, NULL, &err) == -1);
    CHECK(err.number == VELL_STATUS_UNKNOWN_FORMAT);
    CHECK(strstr(err.source, "ReadIOmap") != NULL);
    CHECK(vell_reader_read_as(r, txt, "no such format", &err) == -1);
    CHECK(err.number == VELL_STATUS_UNKNOWN_FORMAT);
    CHECK(vell_reader_read_as(r, NULL, "slc", &err) == -1);
    CHECK(err.number == 5 && strstr(err.source, "vell_reader_read_as") != NULL);

    CHECK(vell_reader_read_memory(r, project, strlen(project), ".slc", "plant", &err) ==
          VELL_STATUS_OK);
    xml = vell_reader_xml(r, &err);
    CHECK(xml != NULL && strstr(xml, "1746-IB16") != NULL &&
          strstr(xml, "fileName=\"plant\"") != NULL);
    vell_free(xml);
    CHECK(vell_reader_read_memory(r, project, strlen(project), NULL, NULL, &err) == -1);
    CHECK(err.number == VELL_STATUS_UNKNOWN_FORMAT);
    CHECK(vell_reader_read_memory(r, NULL, 3, "slc", NULL, &err) == -1);
    CHECK(err.number == 5);
    CHECK(vell_reader_read_memory(r, NULL, 0, "slc", NULL, &err) == 321);
    CHECK(vell_reader_read_memory(NULL, project, 1, "slc", NULL, &err) == -1);
    CHECK(err.number == 91);
    vell_reader_destroy(r);
}

static void test_null_arguments(const char* slc) {
    vell_error err;
    vell_reader* r = vell_reader_create(NULL);
    CHECK(r != NULL);

    CHECK(vell_reader_read(NULL, slc, &err) == -1);
    CHECK(err.number == 91 && strstr(err.source, "vell_reader_read") != NULL);
    CHECK(vell_reader_read(r, NULL, &err) == -1);
    CHECK(err.number == 5);
    CHECK(vell_reader_xml(NULL, &err) == NULL);
    CHECK(err.number == 91);
    CHECK(vell_reader_read(NULL, NULL, NULL) == -1);
    CHECK(vell_reader_xml(NULL, NULL) == NULL);
    CHECK(vell_error_description(NULL, 53) == NULL);
    vell_reader_set_message_callback(NULL, collect, NULL);
    vell_reader_destroy(NULL);
    vell_free(NULL);
    vell_reader_destroy(r);
}

static void test_language(void) {
    vell_error err;
    vell_reader* r = vell_reader_create(&err);
    char* text;
    CHECK(r != NULL);
    if (!r) return;

    CHECK(vell_set_language(VELL_LANG_FRENCH, &err) == 0);
    text = vell_error_description(r, VELL_STATUS_WARNINGS);
    CHECK(text && strcmp(text,
                         "Lecture termin\xC3\xA9"
                         "e avec des avertissements") == 0);
    vell_free(text);
    CHECK(vell_set_language(7, &err) == -1);
    CHECK(err.number == 5);
    CHECK(vell_set_language(VELL_LANG_ENGLISH, &err) == 0 && err.number == 0);
    text = vell_error_description(r, VELL_STATUS_WARNINGS);
    CHECK(text && strcmp(text, "Reading complete with warnings") == 0);
    vell_free(text);
    vell_reader_destroy(r);
}

static void test_callback_reentry(const char* slc) {
    struct nested n;
    vell_error err;
    n.reader = vell_reader_create(&err);
    n.path = slc;
    n.status = 0;
    n.number = 0;
    n.destroy = 0;
    CHECK(n.reader != NULL);
    if (!n.reader) return;

    /* A nested read is refused; the outer one goes on. */
    vell_reader_set_message_callback(n.reader, reenter, &n);
    CHECK(vell_reader_read(n.reader, slc, &err) == VELL_STATUS_OK);
    CHECK(n.status == -1 && n.number == 5);

    /* Destroying from the callback takes effect when the read ends. */
    n.destroy = 1;
    CHECK(vell_reader_read(n.reader, slc, &err) == VELL_STATUS_OK);
}

int main(void) {
    char slc[300], missing[300], txt[300];
    const char* version = vell_version();

    snprintf(folder, sizeof folder, "%s/vell_capi_XXXXXX",
             getenv("TMPDIR") ? getenv("TMPDIR") : "/tmp");
    if (!mkdtemp(folder)) {
        perror("mkdtemp");
        return 2;
    }
    path_in_folder(slc, sizeof slc, "line3.slc");
    path_in_folder(missing, sizeof missing, "missing.slc");
    path_in_folder(txt, sizeof txt, "notes.txt");
    write_file(slc,
               "; a small SLC 500 system\r\n"
               "start 1747-L532\r\n"
               "rack 1 1746-A7\r\n"
               "slot 1 1746-IB16\r\n"
               "ladder\r\n"
               "slot 2 1746-OB16\r\n");
    write_file(txt, "not a project\n");

    CHECK(version != NULL && version[0] >= '0' && version[0] <= '9');
    test_read_and_xml(slc);
    test_raised_errors(missing, txt);
    test_read_as_and_from_memory(txt);
    test_null_arguments(slc);
    test_language();
    test_callback_reentry(slc);

    unlink(slc);
    unlink(txt);
    rmdir(folder);
    printf("%d passed, %d failed\n", checks - failures, failures);
    return failures == 0 ? 0 : 1;
}
