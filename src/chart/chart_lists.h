// The chart page's two lists: sampling rate and time window, with their hints.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace karvo {

struct SamplingEntry {
    const char* text;
    double intervalSeconds;  // the chart timer's interval
};

struct TimeWindowEntry {
    const char* text;
    std::uint32_t seconds;  // ChartWindow
};

// "1/min." is one sample a minute and "10/min." one every 6 s; "1 h." is 3600 s.
inline constexpr std::array<SamplingEntry, 6> kSamplingEntries{{
    {"80/sek.", 0.0125},
    {"10/sek.", 0.1},
    {"1/sek.", 1.0},
    {"1/min.", 60.0},
    {"10/min.", 6.0},
    {"10/h.", 360.0},
}};

inline constexpr std::array<TimeWindowEntry, 7> kTimeWindowEntries{{
    {"1 sek.", 1},
    {"10 sek.", 10},
    {"1 min.", 60},
    {"5 min.", 300},
    {"10 min.", 600},
    {"30 min.", 1800},
    {"1 h.", 3600},
}};

inline constexpr const char* kSamplingHint =
    "Okresla czestotliwosc dodawania nowych pomiarow do wykresu";
inline constexpr const char* kTimeWindowHint =
    "Okresla czas zapelnienia okna wykresu pomiarami. Po przekroczeniu czasu okno jest "
    "przesuwane.";

// The interval of a sampling entry; nothing for an index with no entry (no selection).
inline std::optional<double> SamplingInterval(int index) {
    if (index < 0 || index >= static_cast<int>(kSamplingEntries.size())) return std::nullopt;
    return kSamplingEntries[static_cast<std::size_t>(index)].intervalSeconds;
}

// The window of a time-window entry; nothing for an index with no entry.
inline std::optional<std::uint32_t> TimeWindowSeconds(int index) {
    if (index < 0 || index >= static_cast<int>(kTimeWindowEntries.size())) return std::nullopt;
    return kTimeWindowEntries[static_cast<std::size_t>(index)].seconds;
}

}  // namespace karvo
