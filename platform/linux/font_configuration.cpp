#include "platform/linux/font_configuration.h"

#include <fontconfig/fontconfig.h>

namespace mirabo::platform {

// fontconfig keeps what FcInit reads as its current configuration, which Qt's
// font database then uses; a second reader at the same time would only read
// it again, and one of the two is dropped.
FontConfigurationReader::FontConfigurationReader() : reader_([] { FcInit(); }) {}

FontConfigurationReader::~FontConfigurationReader() { Wait(); }

void FontConfigurationReader::Wait() {
    if (reader_.joinable()) reader_.join();
}

}  // namespace mirabo::platform
