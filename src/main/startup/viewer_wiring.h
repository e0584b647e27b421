#pragma once
// The viewer's keys that reach other subsystems (the calculator now; the
// printing, PDF and editor as they arrive), connected by the entry routine,
// which is the one place above both.
namespace intra {

void connect_viewer_services();

}  // namespace intra
