#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "discovery/walk_context.h"

namespace qm {

/// What became of a container that a clear tried to remove once its content was dealt with.
enum class Removal {
  Removed,  ///< it is gone
  Gone,     ///< someone else removed it first: gone all the same
  Kept,     ///< it is not empty, or the system refused
};

/// The depth-first walk shared by the folder walks (Folder and FileTree items, recycle bins) and the registry
/// key walk. At each level it records every sub-container first, then handles every leaf (recording, erasing,
/// reporting it), then walks each sub-container in turn and, when clearing, removes it once it is empty. The
/// starting container itself is recorded and removed only by RunWhole. A tree that does not record its
/// sub-containers (a FileTree item that keeps its folders) walks them without ever recording or removing one.
///
/// The walk keeps its own stack, so no tree is too deep for it. A stop ends it before the next trace: nothing
/// unvisited is erased, and every sub-container it recorded but did not remove is left "found". A removed
/// container ends "erased" (also when another run removed it first); one that stays ends "held" when only held
/// traces keep it, "failed" when an undeletable or unreadable part keeps it, "found" when what keeps it is no
/// trace of the item (a file its patterns do not match).
///
/// `Tree` supplies, for its `Node` (an open container), `Sub` (a sub-container entry) and `Leaf` types:
///   Content Read(Node&)                        the sub-containers and leaves (raises when unreadable); its
///                                              `others` tells that entries which are no trace stay there
///   bool RecordsSubs()                         whether sub-containers are traces of the item
///   std::shared_ptr<PrivacyValue> Record(Node&, const Sub&)   adds a sub-container as a trace
///   TraceStatus Handle(Node&, Leaf&)           records, erases and reports a leaf; its final status
///   bool Enters(const Sub&)                    whether the walk goes inside (a folder link: no)
///   Node Open(Node&, const Sub&)               opens a sub-container (raises when it cannot)
///   Removal Remove(Node&, const Sub&)          removes an emptied sub-container
///   void Unreadable(Node&, const Sub*, const RuntimeError&)   a container (or its sub-container) could not be
///                                              read or opened
///   void Release(std::vector<Frame>&)          may close the oldest open containers of a deep walk
///   void Reopen(Node& parent, Node& child)     opens a released parent again
template <class Tree>
class TreeWalk {
 public:
  using Node = typename Tree::Node;
  using Sub = typename Tree::Sub;

  struct Recorded {
    Sub sub;
    std::shared_ptr<PrivacyValue> pv;
  };

  /// One open level of the walk. The level above a container that RunWhole removes is borrowed from the
  /// caller.
  struct Frame {
    explicit Frame(Node opened) : own(std::move(opened)) {}
    explicit Frame(Node* parent) : borrowed(parent) {}
    Node& node() { return borrowed ? *borrowed : *own; }
    std::optional<Node> own;
    Node* borrowed = nullptr;
    std::vector<Recorded> subs;
    std::size_t next = 0;
    bool holdsHeld = false;     ///< a held trace stays somewhere inside
    bool holdsOther = false;    ///< something that could not be erased stays inside
    bool holdsForeign = false;  ///< something that is no trace of the item stays inside
  };

  TreeWalk(WalkContext& context, Tree& tree) : context_(context), tree_(tree) {}

  /// Walks everything inside `root`; `root` itself stays.
  void Run(Node root) {
    std::vector<Frame> stack;
    stack.push_back(Visit(std::move(root)));
    Loop(stack);
  }

  /// Walks `root`, the sub-container of `parent`, and records and, when clearing, removes it as well.
  void RunWhole(Node& parent, Sub root) {
    std::vector<Frame> stack;
    Frame& top = stack.emplace_back(&parent);
    SkipFailure([&] {
      std::shared_ptr<PrivacyValue> pv = tree_.Record(parent, root);
      top.subs.push_back({std::move(root), pv});
      context_.ReportPending(*pv);
    });
    Loop(stack);
  }

 private:
  void Loop(std::vector<Frame>& stack) {
    while (!stack.empty()) {
      Frame& top = stack.back();
      if (context_.Stopped() || top.next == top.subs.size()) {
        Leave(stack);
        continue;
      }
      Recorded& sub = top.subs[top.next++];
      if (!tree_.Enters(sub.sub)) {
        Finish(top, sub, {});
        continue;
      }
      std::optional<Node> child;
      try {
        child.emplace(tree_.Open(top.node(), sub.sub));
      } catch (const RuntimeError& error) {
        tree_.Unreadable(top.node(), &sub.sub, error);
        Finish(top, sub, {false, true, false});
        continue;
      }
      stack.push_back(Visit(std::move(*child)));
      tree_.Release(stack);
    }
  }

  /// Reads a container: records its sub-containers, then handles its leaves.
  Frame Visit(Node node) {
    Frame frame(std::move(node));
    typename Tree::Content content;
    try {
      content = tree_.Read(frame.node());
    } catch (const RuntimeError& error) {
      tree_.Unreadable(frame.node(), nullptr, error);
      frame.holdsOther = true;
      return frame;
    }
    frame.holdsForeign = content.others;
    frame.subs.reserve(content.subs.size());
    for (Sub& sub : content.subs) {
      if (context_.Stopped()) return frame;
      if (!tree_.RecordsSubs()) {
        frame.subs.push_back({std::move(sub), nullptr});
        continue;
      }
      SkipFailure([&] {
        std::shared_ptr<PrivacyValue> pv = tree_.Record(frame.node(), sub);
        frame.subs.push_back({std::move(sub), pv});
        context_.ReportPending(*pv);
      });
    }
    for (auto& leaf : content.leaves) {
      if (context_.Stopped()) return frame;
      TraceStatus status = TraceStatus::Failed;
      if (!SkipFailure([&] { status = tree_.Handle(frame.node(), leaf); })) frame.holdsOther = true;
      if (status == TraceStatus::Held) frame.holdsHeld = true;
      if (status != TraceStatus::Held && status != TraceStatus::Erased) frame.holdsOther = true;
    }
    return frame;
  }

  /// Closes the top level; its parent then removes it when clearing.
  void Leave(std::vector<Frame>& stack) {
    Frame done = std::move(stack.back());
    stack.pop_back();
    // Whatever this level recorded and never reached stays as it was found.
    for (std::size_t i = done.next; i < done.subs.size(); ++i) Settle(done.subs[i].pv.get(), TraceStatus::Found);
    if (stack.empty()) return;
    Frame& parent = stack.back();
    if (done.own) tree_.Reopen(parent.node(), *done.own);
    Finish(parent, parent.subs[parent.next - 1], {done.holdsHeld, done.holdsOther, done.holdsForeign});
  }

  /// What stays inside a sub-container once its content was dealt with.
  struct Remains {
    bool held = false;
    bool other = false;
    bool foreign = false;
  };

  /// Settles a sub-container whose content was dealt with: removed when clearing and empty. One that is no
  /// trace itself only keeps its parent.
  void Finish(Frame& parent, Recorded& sub, Remains remains) {
    if (!sub.pv) {
      parent.holdsForeign = true;
      return;
    }
    if (!context_.Clear) return;
    if (context_.Stopped()) {
      Settle(sub.pv.get(), TraceStatus::Found);
      return;
    }
    Removal removal = Removal::Kept;
    SkipFailure([&] { removal = tree_.Remove(parent.node(), sub.sub); });
    TraceStatus status = TraceStatus::Erased;
    if (removal == Removal::Kept) status = KeptStatus(remains);
    if (status == TraceStatus::Held) parent.holdsHeld = true;
    if (status == TraceStatus::Failed) parent.holdsOther = true;
    if (status == TraceStatus::Found) parent.holdsForeign = true;
    Settle(sub.pv.get(), status);
  }

  /// Why a container that was not removed stays: its undeletable content, or else what is no trace in it, or
  /// else its held traces; an empty one the system refused to remove failed.
  static TraceStatus KeptStatus(Remains remains) {
    if (remains.other || !(remains.held || remains.foreign)) return TraceStatus::Failed;
    return remains.foreign ? TraceStatus::Found : TraceStatus::Held;
  }

  void Settle(PrivacyValue* pv, TraceStatus status) {
    if (!pv || !context_.Clear) return;
    pv->ValueStatus = status;
    context_.Settle(*pv);
  }

  WalkContext& context_;
  Tree& tree_;
};

}  // namespace qm
