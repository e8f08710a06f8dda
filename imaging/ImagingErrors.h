#pragma once
// The errors the picture codecs raise, with the framework's fixed messages.
#include <stdexcept>

class EInvalidGraphicOperation : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The stream did not hold what the reader needs.
class EReadError : public std::runtime_error {
public:
    EReadError() : std::runtime_error("Stream-Read-Fehler") {}
};
