// Any file may be handed to `springlab replay`. The reader must either give
// a script that it writes back and reads again as the same text, or refuse
// with a message naming a line (or saying that nothing is in it): never
// crash, hang or read out of bounds.

#include "measure/recording.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const measure::RecordingRead read = measure::readRecording(text);
    if (!read.script) {
        if (read.error.rfind("line ", 0) != 0 && read.error != "an empty file, not a recording")
            std::abort();
        return 0;
    }
    const std::string written = measure::writeRecording(*read.script);
    const measure::RecordingRead again = measure::readRecording(written);
    if (!again.script || measure::writeRecording(*again.script) != written)
        std::abort();
    return 0;
}
