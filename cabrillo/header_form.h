// The Cabrillo header form at a contest start: prepares the session's header
// from the settings file, lets the operator edit it and saves it on OK.

#ifndef VELKARO_CABRILLO_HEADER_FORM_H_
#define VELKARO_CABRILLO_HEADER_FORM_H_

#include <string>

#include "plugin/date_text.h"
#include "plugin/plugin_state.h"

namespace velkaro {

// The soapbox as the Cabrillo file shows it: every line after the first gets
// its own "SOAPBOX: " tag. `encoded` carries "<CR>"/"<LF>" for line breaks.
std::string SoapboxFileForm(const std::string& encoded);

// RunHeaderForm: 1 when the operator confirmed the form with OK, else 0
// (Cancel, or a form that failed to appear). Either way Session's file stem is
// made from `own_call` and its soapbox is in file form.
int RunHeaderForm(PluginState& state, const std::string& own_call, const OleDate& start,
                  const OleDate& end);

}  // namespace velkaro

#endif  // VELKARO_CABRILLO_HEADER_FORM_H_
