#pragma once
// Something a script started that runs on the player's own clock rather than the movie's frames
// (a NetStream playing a file): the player moves it on at every step of its time, so its pictures
// change at their own rate, and lets it speak to the script once a frame. The player keeps its
// object alive while it runs.

namespace swf::avm1 {

class Object;
class Vm;

struct ScriptStream {
  virtual ~ScriptStream() = default;
  // The script object the stream belongs to.
  virtual Object* streamObject() = 0;
  // The player's clock is now `nowMs` (milliseconds since the movie started); what the stream
  // has to say waits for the next frame.
  virtual void advanceTo(double nowMs) = 0;
  // Once a frame: moves on to `nowMs` and calls the script's handlers.
  virtual void runFrame(Vm& vm, double nowMs) = 0;
};

}  // namespace swf::avm1
