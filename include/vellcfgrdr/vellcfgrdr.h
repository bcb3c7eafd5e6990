/*
 * C interface of VellCfgRdr, for hosts written in other languages.
 *
 * Reads the project or configuration file of a PLC and describes its I/O
 * hardware as the exchange XML:
 *
 *     vell_error err;
 *     vell_reader* r = vell_reader_create(&err);
 *     int32_t status = vell_reader_read(r, "line3.slc", &err);
 *     if (status == -1) report(err.number, err.description, err.source);
 *     char* xml = vell_reader_xml(r, &err);
 *     ...
 *     vell_free(xml);
 *     vell_reader_destroy(r);
 *
 * All text is UTF-8. No function lets an exception or a signal of its own
 * escape: failures come back as return values and a filled vell_error.
 * Every err argument may be NULL when the caller does not want the details.
 * One reader serves one thread at a time; distinct readers may be used from
 * distinct threads one after another, not at the same time (the parts
 * knowledge and the language are shared by the process).
 */
#ifndef VELLCFGRDR_VELLCFGRDR_H
#define VELLCFGRDR_VELLCFGRDR_H

#include <stddef.h>
#include <stdint.h>

#include "vellcfgrdr/VellExport.h"

/* Version of this header; vell_version() gives that of the library loaded,
 * which may be newer. VELL_VERSION_NUMBER compares in #if:
 * major * 10000 + minor * 100 + patch. */
#define VELL_VERSION_MAJOR 0
#define VELL_VERSION_MINOR 1
#define VELL_VERSION_PATCH 0
#define VELL_VERSION_STRING "0.1.0"
#define VELL_VERSION_NUMBER \
    (VELL_VERSION_MAJOR * 10000 + VELL_VERSION_MINOR * 100 + VELL_VERSION_PATCH)

#ifdef __cplusplus
extern "C" {
#endif

/* Sizes of the text fields of vell_error, terminating NUL included. */
#define VELL_ERROR_DESCRIPTION_SIZE 1024
#define VELL_ERROR_SOURCE_SIZE 256

/* Status numbers returned by vell_reader_read besides the run-time error
 * numbers 1 to 1023 of a failure while reading. */
#define VELL_STATUS_OK 0
#define VELL_STATUS_BAD_FILE 321
#define VELL_STATUS_UNKNOWN_FORMAT 14001
#define VELL_STATUS_PLC_NOT_VALID 14002
#define VELL_STATUS_WARNINGS 14003

/* Message levels passed to the message callback. */
#define VELL_MSG_PLAIN 0
#define VELL_MSG_ERROR 1
#define VELL_MSG_WARNING 2
#define VELL_MSG_INFO 3
#define VELL_MSG_DEBUG 4

/* Languages of messages and descriptions. */
#define VELL_LANG_ENGLISH 0
#define VELL_LANG_FRENCH 1

/* A raised error. number is 0 when the call succeeded. description and source
 * are NUL-terminated UTF-8; longer texts are cut at a character boundary to
 * fit the buffer. line_number (line of the input file) and os_error (errno)
 * are 0 when unknown. Among the numbers: 5 invalid argument (a NULL path, a
 * reader in use by a callback), 7 out of memory, 53 file not found,
 * 91 NULL reader, 14001 unknown file format. */
typedef struct vell_error {
    int32_t number;
    int32_t line_number;
    int32_t os_error;
    char description[VELL_ERROR_DESCRIPTION_SIZE];
    char source[VELL_ERROR_SOURCE_SIZE];
} vell_error;

/* Opaque reader; holds the configuration of its last read. */
typedef struct vell_reader vell_reader;

/* Receives each message while a file is read: text, level (VELL_MSG_...),
 * source, and the user pointer given with the callback. Runs on the calling
 * thread before vell_reader_read returns. It may call vell_reader_destroy on
 * its reader (the reader is released when the read ends); vell_reader_read
 * and vell_reader_xml on that reader fail with error 5 meanwhile. */
typedef void (*vell_message_callback)(const char* text, int32_t level, const char* source,
                                      void* user);

/* Creates a reader. The first reader of a process prepares the parts
 * knowledge. NULL when that fails, with err filled. */
VELL_API vell_reader* vell_reader_create(vell_error* err);

/* Releases a reader; NULL is ignored. */
VELL_API void vell_reader_destroy(vell_reader* reader);

/* Reads the file into a new configuration and returns its status: 0,
 * 14003 (warnings), 14002, 321, or the number of the error that ended the
 * reading (what was read until then is kept). Returns -1 with err filled when
 * an error is raised: a missing file (53), an unknown format (14001), a NULL
 * reader (91) or path (5). */
VELL_API int32_t vell_reader_read(vell_reader* reader, const char* path, vell_error* err);

/* As vell_reader_read, with the format named whatever the extension: a
 * format's key ("slc500") or one of its extensions ("slc", ".slc"); NULL or
 * "" chooses by extension. A name that is no format raises 14001. */
VELL_API int32_t vell_reader_read_as(vell_reader* reader, const char* path, const char* format,
                                     vell_error* err);

/* Reads a project held in memory (size bytes at data) as the format named,
 * which is required; name is what messages and the XML call the project
 * (NULL: "memory"). The bytes go to a private temporary file, at most 1 GiB
 * (more raises 75), removed before the call returns. Otherwise as
 * vell_reader_read; a NULL data with a size other than 0 raises 5. */
VELL_API int32_t vell_reader_read_memory(vell_reader* reader, const void* data, size_t size,
                                         const char* format, const char* name, vell_error* err);

/* The exchange XML of the reader's configuration, made anew on each call.
 * Free it with vell_free. NULL on failure, with err filled. */
VELL_API char* vell_reader_xml(vell_reader* reader, vell_error* err);

/* The text for a status or error number, in the current language. Free it
 * with vell_free. NULL for a NULL reader or when memory runs out. */
VELL_API char* vell_error_description(vell_reader* reader, int32_t number);

/* Sets the reader's message callback and its user pointer; a NULL callback
 * stops the messages. NULL reader: ignored. */
VELL_API void vell_reader_set_message_callback(vell_reader* reader, vell_message_callback callback,
                                               void* user);

/* Sets the language of messages and descriptions for the whole process
 * (VELL_LANG_ENGLISH at start). Returns 0, or -1 with error 5 in err for an
 * unknown language. */
VELL_API int32_t vell_set_language(int32_t language, vell_error* err);

/* Releases text returned by this interface; NULL is ignored. */
VELL_API void vell_free(void* p);

/* The library version, "major.minor.patch"; static, never freed. */
VELL_API const char* vell_version(void);

#ifdef __cplusplus
}
#endif

#endif /* VELLCFGRDR_VELLCFGRDR_H */
