#pragma once
#include <cstdint>
#include <random>

namespace ambervale {

// The request ids of the questions, whatever the protocol: each request gets a fresh one, so a reply names the
// request it answers.
class RequestIds {
public:
    virtual ~RequestIds() = default;
    virtual std::int32_t Next() = 0;
};

// Request ids no one outside can guess, from 1 to 2^31 - 1.
class RandomRequestIds final : public RequestIds {
public:
    RandomRequestIds();
    std::int32_t Next() override;

private:
    std::mt19937 generator_;
};

} // namespace ambervale
