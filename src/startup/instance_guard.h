// Single-instance guard of saver mode.
#pragma once

namespace fq {

class Platform;
class SaverForm;

void CheckPrevInstance(Platform& platform, SaverForm& frmSaver);

}  // namespace fq
