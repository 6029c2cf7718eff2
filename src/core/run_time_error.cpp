#include "run_time_error.h"

namespace velora {

RunTimeError::RunTimeError(int code)
    : m_code(code), m_what("run-time error " + std::to_string(code)) {}

}  // namespace velora
