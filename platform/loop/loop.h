#pragma once

// The message pump. Every wait of the system goes through here so that a wait sleeps in the
// event loop instead of spinning: a flag is only ever cleared by an event delivered to the UI
// thread (a timer, a key, or an engine notification posted from another thread).
#include <functional>

namespace loop {

// One non-blocking pass: deliver whatever is waiting, then return.
void processonce();

// One pass, then sleep in the event loop until flag is false. Events (keys, timers, posted
// notifications) are delivered meanwhile, so handlers run nested inside the wait.
void waitwhile(const bool &flag);

// One pass that sleeps in the event loop until something is delivered or milliseconds have
// passed, whichever comes first. For loops that poll: they neither spin nor miss a key.
void waitatmost(int milliseconds);

// One pass, then sleep in the event loop until done() holds or the timeout passes; true when
// done. A precise timer wakes the loop at the deadline when nothing else does.
bool waituntil(const std::function<bool()> &done, int timeoutms);

// A plain sleep of the calling thread; no messages are handled meanwhile.
void sleepms(int milliseconds);

} // namespace loop
