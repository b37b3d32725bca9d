#pragma once
// The status lines vornik sends to the converter: one line of text each, on the inherited
// descriptor named by its third argument ("0", or no argument, means no channel).
#include <string>

namespace quarnel::writer {

class StatusChannel {
public:
    // Parses the argument; anything that is not the number of an open descriptor above 2
    // (standard input, output and error are never status channels) gives no channel.
    explicit StatusChannel(const char *argument);

    // Sends one line; a reader that went away is not an error.
    void send(const std::string &line) const;
    bool isOpen() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

} // namespace quarnel::writer
