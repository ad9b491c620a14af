#include "eventlog/ChangeTracker.h"

#include <algorithm>
#include <utility>

#include "eventlog/EventWords.h"
#include "eventlog/PrinterSays.h"

namespace ambervale {
namespace {

Event Recovered(std::string printer, std::string status, std::int64_t lasted) {
    return {EventId::EntriesWorkAgain, EventLevel::Information,
            {std::move(printer), std::move(status), std::to_string(lasted), DurationText(lasted)}};
}

} // namespace

ChangeTracker::Events ChangeTracker::LoggingSwitched(bool on, std::string_view intervalCaption) {
    if (on) {
        interval_.assign(intervalCaption.empty() ? kNoInterval : intervalCaption);
        if (!logging_) logging_ = startPending_ = true;
        return {};
    }
    if (!logging_) return {};
    Events events;
    if (!startPending_ && (tracked_ || outage_)) {
        events.push_back({EventId::LoggingStopped, EventLevel::Information,
                          {PrinterNow(), outage_ ? outage_->description : tracked_->status}});
    }
    logging_ = startPending_ = printerNotAsked_ = false;
    supplies_.Forget();
    tracked_.reset();
    outage_.reset();
    flapping_.Reset();
    return events;
}

ChangeTracker::Events ChangeTracker::Saw(const PrinterSighting& sighting, std::int64_t now) {
    if (!logging_) return {};
    Events events;
    if (startPending_) {
        startPending_ = false;
        events.push_back(Started(std::string(sighting.printer), EventStatusText(sighting.status)));
    }
    // A status that an outage interrupted was last known to hold when the outage began.
    std::int64_t stateEnd = now;
    if (outage_) {
        events.push_back(
            Recovered(std::string(sighting.printer), EventStatusText(sighting.status), now - outage_->since));
        stateEnd = outage_->since;
        outage_.reset();
    }
    if (!tracked_ || tracked_->printer != sighting.printer) {
        if (tracked_) {
            events.push_back({EventId::PrinterChanged, EventLevel::Information,
                              {std::string(sighting.printer), EventStatusText(sighting.status), tracked_->printer}});
        }
        Begin(sighting, now);
        HeardFromPrinter(sighting, events);
        return events;
    }

    Tracked& tracked = *tracked_;
    tracked.driver.assign(sighting.driver);
    tracked.port.assign(sighting.port);
    // The words are compared, not the word: bits without a word beside bits with one change nothing that shows.
    if (sighting.status != tracked.statusWord) {
        tracked.statusWord = sighting.status;
        std::string status = EventStatusText(sighting.status);
        if (status != tracked.status) StatusChanged(std::move(status), sighting, stateEnd, now, events);
    }
    if (flapping_.Settled(tracked.since, now)) events.push_back(ChangeEvent(sighting));
    HeardFromPrinter(sighting, events);
    if (now - tracked.heartbeatFrom >= kHeartbeatSeconds) {
        // Once a day, even when the entries of several days were missed.
        tracked.heartbeatFrom += (now - tracked.heartbeatFrom) / kHeartbeatSeconds * kHeartbeatSeconds;
        events.push_back({EventId::Heartbeat, EventLevel::Information,
                          {tracked.printer, tracked.status, tracked.sinceText, tracked.supplies, tracked.pages}});
    }
    return events;
}

// After the status's own events: whether the printer could be asked at all, then its supplies.
void ChangeTracker::HeardFromPrinter(const PrinterSighting& sighting, Events& events) {
    Tracked& tracked = *tracked_;
    if (sighting.notAsked && !printerNotAsked_) {
        events.push_back(
            {EventId::PrinterNotAsked, EventLevel::Warning, {tracked.printer, std::string(*sighting.notAsked)}});
    } else if (!sighting.notAsked && printerNotAsked_) {
        events.push_back({EventId::PrinterAskedAgain, EventLevel::Information, {tracked.printer}});
    }
    printerNotAsked_ = sighting.notAsked.has_value();
    // A question that could not be asked heard no supplies: what the last answer said still holds.
    if (sighting.notAsked) return;
    supplies_.Saw(sighting.supplies, tracked.printer, tracked.port, events);
    tracked.supplies = SuppliesText(sighting.supplies);
    tracked.pages = sighting.pages ? std::to_string(*sighting.pages) : std::string(kUnknownPages);
}

ChangeTracker::Events ChangeTracker::Failed(std::string_view description, std::int64_t now) {
    if (!logging_) return {};
    Events events;
    if (startPending_) {
        startPending_ = false;
        events.push_back(Started(PrinterNow(), std::string(description)));
    }
    if (!outage_) {
        outage_ = Outage{now, std::string(description)};
        events.push_back({EventId::EntriesFail, EventLevel::Error, {std::string(description)}});
    }
    return events;
}

void ChangeTracker::Begin(const PrinterSighting& sighting, std::int64_t now) {
    tracked_ = Tracked{std::string(sighting.printer), sighting.status, EventStatusText(sighting.status),
                       std::string(sighting.driver), std::string(sighting.port), now,
                       std::string(sighting.dateTimeText), now, {}, 0, {}, {}};
    flapping_.Reset();
    supplies_.Forget();
}

void ChangeTracker::StatusChanged(std::string status, const PrinterSighting& sighting, std::int64_t stateEnd,
                                  std::int64_t now, Events& events) {
    Tracked& tracked = *tracked_;
    tracked.beforeLasted = std::max<std::int64_t>(0, stateEnd - tracked.since);
    tracked.before = std::exchange(tracked.status, std::move(status));
    tracked.since = now;
    tracked.sinceText.assign(sighting.dateTimeText);
    tracked.heartbeatFrom = now;
    // While flapping, the changes are neither written nor counted: the status that settles is.
    switch (flapping_.Changed(now)) {
    case FlappingRule::Change::Tell:
        events.push_back(ChangeEvent(sighting));
        break;
    case FlappingRule::Change::StartsFlapping:
        events.push_back(
            {EventId::Flapping, EventLevel::Warning, {tracked.printer, std::to_string(flapping_.Count())}});
        break;
    case FlappingRule::Change::WhileFlapping:
        break;
    }
}

// The printer's own words, where they explain the status, close the message as a line of their own.
Event ChangeTracker::ChangeEvent(const PrinterSighting& sighting) const {
    const Tracked& tracked = *tracked_;
    const EventLevel level = StatusLevel(tracked.statusWord);
    const PrinterAlert* says = ExplainingAlert(tracked.statusWord, sighting.alerts);
    return {level == EventLevel::Information ? EventId::StatusFine : EventId::StatusProblem,
            level,
            {tracked.printer, tracked.status, tracked.before, std::to_string(tracked.beforeLasted),
             DurationText(tracked.beforeLasted), tracked.driver, tracked.port,
             says ? "\r\n" + std::string(kPrinterSaysPrefix) + says->text : std::string()}};
}

std::string ChangeTracker::PrinterNow() const {
    return tracked_ ? tracked_->printer : std::string(kUnknownPrinter);
}

Event ChangeTracker::Started(std::string printer, std::string status) const {
    return {EventId::LoggingStarted, EventLevel::Information, {std::move(printer), std::move(status), interval_}};
}

} // namespace ambervale
