// The contest session record: the Cabrillo header and the finished QSO lines.

#ifndef VELKARO_PLUGIN_SESSION_H_
#define VELKARO_PLUGIN_SESSION_H_

#include <string>

#include "plugin/date_text.h"
#include "plugin/text_list.h"

namespace velkaro {

struct ContestSession {
  std::string callsign;
  std::string name;
  std::string address;
  std::string claimed;
  std::string contest;
  std::string email;
  std::string club;
  std::string soapbox;  // in file form once the header form has run
  std::string operators;
  std::string categoryOperator;
  std::string categoryBand;
  std::string categoryMode;
  std::string location;
  std::string city;
  std::string postalCode;
  std::string country;
  std::string categoryTransmitter;
  std::string fileStem;
  TextList CabrilloLines;  // each ends in CR LF
  OleDate startTime;
  OleDate endTime;
};

}  // namespace velkaro

#endif  // VELKARO_PLUGIN_SESSION_H_
