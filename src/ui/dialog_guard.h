#pragma once

#include <exception>
#include <string>

#include "platform/error.h"
#include "ui/model/prompt.h"

namespace qm::ui {

/// Runs one step of a dialog; an error it raises is told through `prompt` under `caption`, so none leaves a
/// dialog procedure. Returns false when the step failed.
template <class Step>
bool Guarded(Prompt& prompt, const std::string& caption, Step&& step) {
  try {
    step();
    return true;
  } catch (const RuntimeError& e) {
    prompt.Ask(caption, e.Description(), PromptButtons::Ok, PromptIcon::Exclamation);
  } catch (const std::exception& e) {
    prompt.Ask(caption, e.what(), PromptButtons::Ok, PromptIcon::Exclamation);
  }
  return false;
}

}  // namespace qm::ui
