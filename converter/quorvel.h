/*
 * quorvel - converts one RTF file into one HTML file per call.
 *
 * The library exports five functions with C linkage (and the standard calling convention
 * on 32-bit Windows). All strings are NUL-terminated 8-bit texts owned by the caller; the
 * library reads them only during the call and keeps nothing. A null string pointer counts
 * as an empty text. Nothing the library allocates is handed to the caller, except the
 * message text of QuorvelLastError(), which the library keeps owning.
 *
 * Errors: no exception or other unwinding ever crosses this interface. A conversion
 * returns 0 on success and a nonzero value on failure; after a failure
 * QuorvelLastError() describes it, for example
 * "Quorvel: RTF header is missing. Conversion aborted.". When a conversion fails the
 * target file is left exactly as it was (an existing file keeps its contents).
 *
 * Files: the source is read whole, up to its first NUL byte, and broken into lines at CR,
 * LF or CR LF; only a regular file is read (a named pipe or device is refused rather than
 * waited on). The target is written as CR LF lines, with no byte-order mark, and is on the
 * disk before a conversion reports success; a failed write (a full disk, say) leaves no
 * temporary file behind. A symbolic link as the target is written through, and a link that
 * points nowhere yet creates the file it names. A file with other hard links, or one in a
 * folder the caller may not write, is written in place (the old bytes are written back if
 * that fails); any other file is replaced by a new one that keeps its owner, group,
 * permissions and extended attributes. Refused, with the target left as it is: an empty
 * target name, a target that is not a regular file (a folder, named pipe, device or
 * socket), a target whose owner may not write it (for every caller, the superuser
 * included), and a target that is the source itself under another name (a symbolic or hard
 * link to it).
 */
#ifndef QUORVEL_H
#define QUORVEL_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(QUORVEL_BUILDING)
#define QUORVEL_API __declspec(dllexport)
#else
#define QUORVEL_API __declspec(dllimport)
#endif
#if !defined(_WIN64)
#define QUORVEL_CALL __stdcall
#else
#define QUORVEL_CALL
#endif
#else
#define QUORVEL_API __attribute__((visibility("default")))
#define QUORVEL_CALL
#endif

#ifdef __cplusplus
#define QUORVEL_NOEXCEPT noexcept
#else
#define QUORVEL_NOEXCEPT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Flag bits of QuorvelConvertFile. Only the low 8 bits are read. */
#define QUORVEL_FONT_SIZE       1   /* \fs font sizes become FONT SIZE / SMALL elements */
#define QUORVEL_FONT_FACE       2   /* \f fonts become FONT FACE elements */
#define QUORVEL_COLORS          4   /* the colour table and \cf become FONT COLOR elements */
#define QUORVEL_OPTIMIZE        8   /* leave out a face or size that repeats the last one */
#define QUORVEL_WRAP_HTML       16  /* the HTML, HEAD and BODY frame */
#define QUORVEL_USE_TITLE       32  /* a TITLE element in the frame */
#define QUORVEL_DEFAULT_FONT    64  /* wrap the body in the default font */
#define QUORVEL_MORE_COMPATIBLE 128 /* substitute font families for common faces */

/*
 * Converts the RTF file `source` into the HTML file `target`.
 * `headtags` and `bodyoptions` are lines (broken at CR, LF or CR LF) written into the head
 * and into the BODY start tag; `fontname` and `fontsize` (points) give the default font.
 * The target is created or replaced only after the conversion has succeeded.
 * Returns 0 on success, nonzero on failure (see QuorvelLastError).
 */
QUORVEL_API int32_t QUORVEL_CALL QuorvelConvertFile(const char *source, const char *target,
                                                    int32_t flags, const char *title,
                                                    const char *headtags, const char *bodyoptions,
                                                    const char *fontname,
                                                    int32_t fontsize) QUORVEL_NOEXCEPT;

/*
 * Same as QuorvelConvertFile(source, target, 143, "", "", "", "", 0): font sizes, faces,
 * colours, optimisation and font families, giving a body fragment without frame.
 * Returns 0 on success, nonzero on failure.
 */
QUORVEL_API int32_t QUORVEL_CALL QuorvelConvertOnly(const char *source,
                                                    const char *target) QUORVEL_NOEXCEPT;

/* Option bits of QuorvelConvertClean. */
#define QUORVEL_CLEAN_PAGE     1 /* a whole HTML5 page (doctype, head, title) around the body */
#define QUORVEL_CLEAN_STYLES   2 /* colours, fonts and sizes as inline CSS */
#define QUORVEL_CLEAN_PICTURES 4 /* PNG and JPEG pictures as files beside the target, linked */

/*
 * Converts the RTF file `source` into the HTML file `target` in clean mode: every word of
 * the document's text (Unicode, code pages, fields, notes, lists and tables included), and
 * none of its tables, style names or embedded data, as well-formed HTML5 in UTF-8 with
 * minimal markup. `options` is a combination of the QUORVEL_CLEAN_ bits. `title` is the
 * page's title with QUORVEL_CLEAN_PAGE; a null or empty title takes the document's own,
 * and without one the source file's name without its extension.
 * Pictures are named after the target ("letter.html" gives "letter-1.png", ...) and written
 * before the page. Files, errors, QuorvelLastError and the message pump follow the same
 * rules as QuorvelConvertFile; the faithful conversions are not changed by it.
 * Returns 0 on success, nonzero on failure (see QuorvelLastError).
 */
QUORVEL_API int32_t QUORVEL_CALL QuorvelConvertClean(const char *source, const char *target,
                                                     int32_t options,
                                                     const char *title) QUORVEL_NOEXCEPT;

/*
 * The message of the last failed conversion on the calling thread, or "" when the last
 * conversion on this thread succeeded or none has run. Never null. The text stays valid
 * until the next conversion on the same thread.
 */
QUORVEL_API const char *QUORVEL_CALL QuorvelLastError(void) QUORVEL_NOEXCEPT;

/*
 * The host's message pump. A conversion calls it once for every input character it reads,
 * so the host can keep its user interface responsive; keep it cheap (for example, look at
 * a clock and process pending events only every few milliseconds). The callback may run
 * any host code, including another conversion, but must not unwind (throw or longjmp)
 * out of the call.
 */
typedef void(QUORVEL_CALL *QuorvelMessagePump)(void *context);

/*
 * Registers `pump` (called with `context`) for conversions that run on the calling thread;
 * a null `pump` removes it. With no pump registered nothing is called. A conversion
 * already running keeps the pump that was registered when it started.
 */
QUORVEL_API void QUORVEL_CALL QuorvelSetMessagePump(QuorvelMessagePump pump,
                                                    void *context) QUORVEL_NOEXCEPT;

/* Function pointer types for hosts that load the library by file name. */
typedef int32_t(QUORVEL_CALL *QuorvelConvertFileProc)(const char *, const char *, int32_t,
                                                      const char *, const char *, const char *,
                                                      const char *, int32_t);
typedef int32_t(QUORVEL_CALL *QuorvelConvertOnlyProc)(const char *, const char *);
typedef int32_t(QUORVEL_CALL *QuorvelConvertCleanProc)(const char *, const char *, int32_t,
                                                       const char *);
typedef const char *(QUORVEL_CALL *QuorvelLastErrorProc)(void);
typedef void(QUORVEL_CALL *QuorvelSetMessagePumpProc)(QuorvelMessagePump, void *);

#ifdef __cplusplus
}
#endif

#endif /* QUORVEL_H */
