#include "common/shell_layout.h"

namespace lumorix {

ShellLayout LayoutOf(const ShellFacts& facts) {
  if (!facts.progman) return ShellLayout::kNone;
  // A worker inside Progman is the composed desktop even where Progman still
  // has a surface (the builds that led up to 24H2).
  if (facts.progmanUnredirected || facts.workerInProgman) return ShellLayout::kComposed;
  return facts.classicWorker ? ShellLayout::kClassic : ShellLayout::kNone;
}

LayerRepair RepairFor(ShellLayout layout, const HostFacts& host) {
  LayerRepair repair;
  if (layout == ShellLayout::kNone || !host.inLayer) {
    repair.rehost = true;
    return repair;
  }
  if (layout == ShellLayout::kComposed) {
    // Progman composes only layered children: an unlayered host is not seen.
    repair.restyle = !host.layered || !host.opaque;
    repair.reorder = !host.belowIconView || !host.aboveWorker;
  }
  return repair;
}

}  // namespace lumorix
