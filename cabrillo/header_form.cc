#include "cabrillo/header_form.h"

#include "cabrillo/cabrillo_writer.h"
#include "plugin/settings.h"
#include "plugin/texts.h"

namespace velkaro {
namespace {

HeaderFormFields FieldsOf(const ContestSession& s) {
  HeaderFormFields f;
  f.contest = s.contest;
  f.callsign = s.callsign;
  f.claimed = s.claimed;
  f.category_operator = s.categoryOperator;
  f.location = s.location;
  f.category_band = s.categoryBand;
  f.category_mode = s.categoryMode;
  f.category_transmitter = s.categoryTransmitter;
  f.name = s.name;
  f.address = s.address;
  f.city = s.city;
  f.postal_code = s.postalCode;
  f.country = s.country;
  f.operators = s.operators;
  f.club = s.club;
  f.soapbox = s.soapbox;
  f.email = s.email;
  return f;
}

// Everything but CLAIMED, which the form shows but never takes back.
void TakeBack(const HeaderFormFields& f, ContestSession* s) {
  s->contest = f.contest;
  s->callsign = f.callsign;
  s->categoryOperator = f.category_operator;
  s->location = f.location;
  s->categoryBand = f.category_band;
  s->categoryMode = f.category_mode;
  s->categoryTransmitter = f.category_transmitter;
  s->name = f.name;
  s->address = f.address;
  s->city = f.city;
  s->postalCode = f.postal_code;
  s->country = f.country;
  s->operators = f.operators;
  s->club = f.club;
  s->soapbox = f.soapbox;
  s->email = f.email;
}

}  // namespace

std::string SoapboxFileForm(const std::string& encoded) {
  return ReplaceAll(ReplaceAll(encoded, "<CR>", "\r\nSOAPBOX: "), "<LF>", "");
}

int RunHeaderForm(PluginState& state, const std::string& own_call, const OleDate& start,
                  const OleDate& end) {
  // Prepared aside and put in place at the end, so that a failure half-way
  // (memory running out) leaves the session as it was.
  ContestSession session = state.Session;
  const Settings& settings = state.settings;

  session.callsign = own_call;
  session.startTime = start;
  session.endTime = end;
  session.fileStem = MakeFileStem(own_call);

  session.operators = settings.Read("Operators", own_call);
  session.name = settings.Read("Name");
  session.address = settings.Read("Address");
  session.city = settings.Read("Address-City");
  session.postalCode = settings.Read("Address-PostalCode");
  session.country = settings.Read("Address-Country");
  session.claimed = settings.Read("Claimed");
  session.location = settings.Read("Loc");

  session.contest = texts::kContestName;
  session.categoryOperator = "SINGLE-OP";
  session.categoryBand = "40M";
  session.categoryTransmitter = "ONE";
  session.categoryMode = "MIXED";

  session.email = settings.Read("Email");
  session.club = settings.Read("Club");
  session.soapbox = DecodeLineBreaks(settings.Read("SoapBox"));

  HeaderFormFields fields = FieldsOf(session);
  FormResult result = FormResult::kFailed;
  try {
    result = state.platform.ShowHeaderForm(&fields);
  } catch (...) {
    result = FormResult::kFailed;  // a form that cannot be shown counts as cancelled
  }

  if (result != FormResult::kOk) {
    session.soapbox = SoapboxFileForm(EncodeLineBreaks(session.soapbox));
    state.Session = std::move(session);
    return 0;
  }

  TakeBack(fields, &session);
  const std::string encoded_soapbox = EncodeLineBreaks(session.soapbox);
  settings.Write("Band", session.categoryBand);
  settings.Write("Power", session.categoryMode);
  settings.Write("Operators", session.operators);
  settings.Write("Name", session.name);
  settings.Write("Address", session.address);
  settings.Write("Address-City", session.city);
  settings.Write("Address-PostalCode", session.postalCode);
  settings.Write("Address-Country", session.country);
  settings.Write("Category", session.categoryOperator);
  settings.Write("Contest", session.contest);
  settings.Write("Email", session.email);
  settings.Write("Club", session.club);
  settings.Write("SoapBox", encoded_soapbox);
  settings.Write("Loc", session.location);
  session.soapbox = SoapboxFileForm(encoded_soapbox);
  session.CabrilloLines.clear();
  state.Session = std::move(session);
  return 1;
}

}  // namespace velkaro
