// fructl doctor: whether this user can use a store and its containers.
#ifndef FRUPLATFORM_FRUCTL_DOCTOR_H
#define FRUPLATFORM_FRUCTL_DOCTOR_H

#include <string>
#include <vector>

namespace fruplat {

// What `fructl doctor` exits with, the worst finding deciding.
enum DoctorResult : int {
    kDoctorFine = 0,       // every container named can be read and written
    kDoctorUnusable = 1,   // the store, or a container named, cannot be read
    kDoctorReadOnly = 3,   // everything reads, but some container cannot be written
};

// Checks the store and the containers named (all when `nacs` is empty),
// printing one line for the store, one for the lock directory and one per
// container, each with the reason a check failed.
[[nodiscard]] int run_doctor(const std::string &store, const std::vector<std::string> &nacs);

}  // namespace fruplat

#endif
