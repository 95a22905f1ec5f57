#pragma once
// Limits on what content may ask for. Every count, size and interval read from a document is
// kept within bounds chosen per value (and documented beside its default), so that a mistaken or
// hostile document can neither allocate without limit, stall the game, nor overflow the
// arithmetic done on the value. A value outside its bounds is clamped and reported on standard
// error once per file and key; the game goes on with the clamped value.
//   m_poolSize = BoundCount(ParseInt(text), 0, kMaxPoolSize, "particles.xml", "fizz/poolsize");
#include <cstdint>
#include <string_view>

// value clamped to minimum..maximum (minimum <= maximum); reported once when it was outside.
int32_t BoundCount(int32_t value, int32_t minimum, int32_t maximum, std::string_view file,
                   std::string_view key);
// The same for a real number; NaN is outside every range and gives minimum.
double BoundValue(double value, double minimum, double maximum, std::string_view file, std::string_view key);

// Times. Content gives times in seconds and the clocks count milliseconds in 32 bits, compared
// wrap-safe within half their range (24 days): no time content asks for may exceed a day, so any
// moment plus such a time still reads as later. Every conversion goes through SecondsToMs, or
// SignedSecondsToMs where a negative time means something (a head start).
constexpr float kMaxContentSeconds = 86400.0f;
// seconds as whole milliseconds, cut: NaN and negative give 0, beyond kMaxContentSeconds its
// milliseconds. Silent: bound and report the value where it is read (BoundSeconds, or a tuning
// value declared with the bounds 0..kMaxContentSeconds).
int32_t SecondsToMs(double seconds);
// The same, rounded to the nearest millisecond.
int32_t SecondsToNearestMs(double seconds);
// SecondsToMs with the sign kept (cut towards zero): within -kMaxContentSeconds..kMaxContentSeconds
// in milliseconds; NaN gives 0. For a delay or phase whose negative starts the clock early.
int32_t SignedSecondsToMs(double seconds);
// A time in seconds read from a document, within 0..kMaxContentSeconds, reported once when outside.
double BoundSeconds(double seconds, std::string_view file, std::string_view key);

// One line "frogpond: <file>: <key>: <problem>" on standard error, the first time this file and
// key are reported in the run; later reports of the same pair print nothing. For content that is
// refused or replaced by a default rather than clamped (an unplayable sound file, an audio rate
// the mixer does not support). False when the pair was reported before.
bool ReportContentOnce(std::string_view file, std::string_view key, std::string_view problem);
// Forgets every pair reported so far, as a new process starts: for the tests, which share one.
void ForgetContentReports();
