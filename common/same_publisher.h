// A signed program shows its publisher in the consent prompt, and whatever it
// starts elevated borrows that name. So a signed copy starts a sibling only
// when the sibling carries a valid signature of the same leaf certificate: a
// program planted beside a signed copy in a folder a user can write does not
// run as administrator under our name. An unsigned build, with no publisher to
// lend, starts its siblings as ever. Whether we are signed is read from our
// image as it runs, and our own certificate from the file proven to be that
// image; where that proof fails, nothing is started.
#pragma once

// Right before the start of `sibling` (an image name in the working folder,
// as the start command names it): opened so that no one can change or delete
// it, checked through that handle, and held so until the next check or the
// program's end. True when the start may go on.
bool SiblingOfOurPublisher(const char* sibling);
