// An entry's question as the worker runs it: what the work holds is gone before the job counts as finished.
#include "logging/EntryJob.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "base/AppError.h"

namespace ambervale {
namespace {

// Stands for the printer objects a question holds; notes whether its job had finished when it went.
struct Held {
    explicit Held(std::optional<bool>& gone) : finishedWhenGone(gone) {}
    ~Held() { finishedWhenGone = job->Finished(); }
    const EntryJob* job = nullptr;
    std::optional<bool>& finishedWhenGone;
};

TEST(EntryJob, WhatTheWorkHoldsGoesBeforeTheJobCountsAsFinished) {
    for (const bool throws : {false, true}) {
        std::optional<bool> finishedWhenGone;
        auto held = std::make_shared<Held>(finishedWhenGone);
        EntryJob job([held, throws] {
            if (throws) throw AppError("No default printer");
        });
        held->job = &job;
        held.reset();
        job.Run();
        EXPECT_EQ(finishedWhenGone, std::optional<bool>(false)) << (throws ? "thrown" : "ran");
        EXPECT_TRUE(job.Finished());
        EXPECT_EQ(job.Failure() != nullptr, throws);
    }
}

} // namespace
} // namespace ambervale
