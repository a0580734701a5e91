// Resource numbers of the setup program's pictures (setup/wizard/Pictures.rc): the wizard's
// side picture, the logo of the background window and the About box's picture.
#pragma once

namespace pelorin {

constexpr int kSidePictureId = 301;   // 109 x 200
constexpr int kLogoPictureId = 302;   // 97 x 73
constexpr int kAboutPictureId = 303;  // 79 x 94

}  // namespace pelorin
