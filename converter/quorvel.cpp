// The library's C interface: every call builds its own converter, and every failure is
// caught here and turned into a result code plus a message for the calling thread.
#include "quorvel.h"
#include "quorvel_clean.h"
#include "quorvel_library.h"

#include <new>
#include <string>

namespace {

struct HostPump {
    QuorvelMessagePump callback = nullptr;
    void *context = nullptr;
};

// Per thread: a pump belongs to the thread whose events it processes.
thread_local std::string lastError;
thread_local HostPump hostPump;

#if defined(_WIN32) && !defined(_WIN64)
// The host's callback uses the standard calling convention, the engine's hook does not.
void callHostPump(void *context)
{
    const auto *pump = static_cast<const HostPump *>(context);
    pump->callback(pump->context);
}
#endif

quorvel::TMessagePump enginePump(const HostPump &pump)
{
    if (!pump.callback)
        return {};
#if defined(_WIN32) && !defined(_WIN64)
    return {callHostPump, const_cast<HostPump *>(&pump)};
#else
    return {pump.callback, pump.context};
#endif
}

std::string stringOrEmpty(const char *s)
{
    return s ? std::string(s) : std::string();
}

int32_t fail(const char *message) noexcept
{
    try {
        lastError = message;
    } catch (...) {
        lastError.clear(); // too little memory even for the message
    }
    return 1;
}

// Runs one conversion: 0 when it went through, else 1 with the reason as the last error. No
// exception crosses into the caller.
template <typename Convert>
int32_t converted(Convert convert) noexcept
{
    try {
        convert();
        lastError.clear();
        return 0;
    } catch (const std::bad_alloc &) {
        return fail("Quorvel: out of memory. Conversion aborted.");
    } catch (const std::exception &e) {
        return fail(e.what());
    } catch (...) {
        return fail("Quorvel: unexpected failure. Conversion aborted.");
    }
}

} // namespace

extern "C" {

QUORVEL_API int32_t QUORVEL_CALL QuorvelConvertFile(const char *source, const char *target,
                                                    int32_t flags, const char *title,
                                                    const char *headtags, const char *bodyoptions,
                                                    const char *fontname, int32_t fontsize) noexcept
{
    return converted([&] {
        quorvel::TConversionRequest request;
        request.flags = static_cast<uint32_t>(flags);
        request.title = stringOrEmpty(title);
        request.headtags = stringOrEmpty(headtags);
        request.bodyOptions = stringOrEmpty(bodyoptions);
        request.fontName = stringOrEmpty(fontname);
        request.fontSize = fontsize;

        quorvel::TQuorvel converter;
        quorvel::configure(converter, request);
        // The conversion keeps its own copy of the registration, so a pump that is
        // changed from inside the callback applies only to later conversions.
        const HostPump pump = hostPump;
        converter.setMessagePump(enginePump(pump));
        quorvel::convertFile(converter, stringOrEmpty(source), stringOrEmpty(target));
    });
}

QUORVEL_API int32_t QUORVEL_CALL QuorvelConvertOnly(const char *source, const char *target) noexcept
{
    return QuorvelConvertFile(source, target, quorvel::kConvertOnlyFlags, "", "", "", "", 0);
}

QUORVEL_API int32_t QUORVEL_CALL QuorvelConvertClean(const char *source, const char *target,
                                                     int32_t options, const char *title) noexcept
{
    return converted([&] {
        quorvel::TCleanOptions clean;
        clean.wholePage = (options & QUORVEL_CLEAN_PAGE) != 0;
        clean.keepStyles = (options & QUORVEL_CLEAN_STYLES) != 0;
        clean.pictures = (options & QUORVEL_CLEAN_PICTURES) != 0;
        clean.title = stringOrEmpty(title);
        const HostPump pump = hostPump;
        quorvel::convertCleanFile(stringOrEmpty(source), stringOrEmpty(target), clean,
                                  enginePump(pump));
    });
}

QUORVEL_API const char *QUORVEL_CALL QuorvelLastError(void) noexcept
{
    return lastError.c_str();
}

QUORVEL_API void QUORVEL_CALL QuorvelSetMessagePump(QuorvelMessagePump pump, void *context) noexcept
{
    hostPump = pump ? HostPump{pump, context} : HostPump{};
}

} // extern "C"
