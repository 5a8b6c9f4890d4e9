// The desktop's font configuration read ahead: at start-up, fontconfig's
// configuration files and font caches are read on a thread of their own
// while the application connects to the display, so that the first font
// the program asks for finds them ready instead of reading them then.
#pragma once

#include <thread>

namespace mirabo::platform {

class FontConfigurationReader {
public:
    // Starts reading.
    FontConfigurationReader();
    // Waits for the reading to end, if it has not.
    ~FontConfigurationReader();
    void Wait();

    FontConfigurationReader(const FontConfigurationReader&) = delete;
    FontConfigurationReader& operator=(const FontConfigurationReader&) = delete;

private:
    std::thread reader_;
};

}  // namespace mirabo::platform
