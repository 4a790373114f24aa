// The names of the toolkit's notifications. Handlers are found by the address of the name,
// not its characters, so every sender and every connection uses these shared constants.
#pragma once

namespace ADM {

inline constexpr char kSelect[] = "select";                  // a button was pressed
inline constexpr char kChanged[] = "changed";                // an item's value changed
inline constexpr char kTrack[] = "track";                    // a slider or tracker moves
inline constexpr char kControlChanged[] = "controlChanged";  // a parameter control changed its parameter
inline constexpr char kClose[] = "close";
inline constexpr char kCanceled[] = "canceled";
inline constexpr char kDone[] = "done";
inline constexpr char kGainFocus[] = "gainFocus";
inline constexpr char kLoseFocus[] = "loseFocus";
inline constexpr char kDraw[] = "draw";
inline constexpr char kTimer[] = "timer";
inline constexpr char kDestroy[] = "destroy";
inline constexpr char kActivate[] = "activate";

}  // namespace ADM
