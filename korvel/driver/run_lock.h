#pragma once

namespace korvel {

// One run at a time in a working folder: two runs moving the same txt_in
// would each take the other's copies for their own. The lock is held on
// korvel.lock in the working folder and goes with the process, however it
// ends; the file itself stays.
//
// False only when another process holds it. A folder where the lock file
// cannot be made at all (read-only) gets no lock: no run can write there.
bool take_run_lock();

}  // namespace korvel
