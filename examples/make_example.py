#!/usr/bin/env python3
"""Generates the example contest: one operator's day in the 40 m contest.

Writes, beside this script:
  velkaro-day.adi          the log as a logger exports it (ADIF 3, UTF-8)
  Plugins/velkar.dat       the special-station list (Windows-1251, CR LF)
  Plugins/Velkaro.ini      the operator's Cabrillo header entries
  expected/result.txt      the result text GetResult0 returns
  expected/err.txt         the error report
  expected/<CALL>.cbr      the Cabrillo file of a run with the Cabrillo switch on

The expected files are not copied from a run of the plug-in: this script
applies the contest rules to the QSOs it made (a QSO needs both exchanges,
mode CW, SSB or RTTY and band 40m; a repeat of call, band and mode is a
duplicate; a scoring QSO is worth 1 point, 3 with the exchange "PW") and lays
the files out itself, so that a replay checks the plug-in against an
independent count. Deterministic: the same seed gives the same bytes.

Usage: examples/make_example.py [--check]
  --check  regenerate into memory and fail if any file differs
"""

import os
import random
import sys

SEED = 20250525
OWN_CALL = "UA3VLK"
CONTEST_DATE = (2025, 5, 25)  # a Sunday

HERE = os.path.dirname(os.path.abspath(__file__))

# Windows-1251 for the texts the plug-in writes or reads.
ENCODING = "cp1251"

SPECIAL_STATIONS = [
    ("R3VEL", "Москва, клуб «Велкаро»"),
    ("RK3VK", "Подмосковье"),
    ("UA3PW", "Тула"),
    ("R9VEL", "Екатеринбург"),
    ("RZ6VK", "Краснодар"),
    ("UA1VKR", "Санкт-Петербург"),
    ("RN4VEL", "Самара"),
    ("EW1VK", "Минск"),
]

SETTINGS = [
    ("Operators", OWN_CALL),
    ("Name", "Sergey Volkov"),
    ("Address", "ul. Radiolyubiteley 7"),
    ("Address-City", "Moscow"),
    ("Address-PostalCode", "101000"),
    ("Address-Country", "Russia"),
    ("Loc", "MA"),
    ("Email", "ua3vlk@example.org"),
    ("Club", "Velkaro Radio Club"),
    ("SoapBox", "100 W, dipole at 12 m.<CR><LF>Thanks for the QSOs!"),
]

FIRST_NAMES = ["Сергей", "Андрей", "Олег", "Ivan", "Дмитрий", "Наталья", "Юрий",
               "Alex", "Михаил", "Ольга", "Виктор", "Пётр"]


# --- Calendar -----------------------------------------------------------------

def ole_day(year, month, day):
    """Days since 1899-12-30."""
    from datetime import date
    return (date(year, month, day) - date(1899, 12, 30)).days


def date_text(year, month, day, minute_of_day):
    return "%04d-%02d-%02d %02d%02d" % (year, month, day, minute_of_day // 60,
                                       minute_of_day % 60)


# --- Stations -------------------------------------------------------------------

def make_call(rng):
    kind = rng.random()
    letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
    if kind < 0.55:
        prefix = rng.choice(["R", "RA", "RK", "RN", "RU", "RV", "RW", "RX", "RZ", "UA",
                             "UB", "UD", "UI"])
        digit = rng.choice("1234567890")
    elif kind < 0.75:
        prefix = rng.choice(["UR", "UT", "UX", "US", "UY"])
        digit = rng.choice("0123456789")
    elif kind < 0.85:
        prefix = rng.choice(["EW", "EU"])
        digit = rng.choice("12345678")
    else:
        prefix = rng.choice(["UN", "4L", "LY", "YL", "ES", "ER", "EX", "UK"])
        digit = rng.choice("123456789")
    suffix = "".join(rng.choice(letters) for _ in range(rng.choice([2, 3, 3])))
    return prefix + digit + suffix


class Station:
    def __init__(self, call, rng, special=False):
        self.call = call
        self.special = special
        self.rate = rng.uniform(6, 40)  # their QSOs per hour
        self.offset = rng.randint(0, 25)
        self.name = rng.choice(FIRST_NAMES) if rng.random() < 0.4 else None
        self.last_serial = 0

    def serial_at(self, minute_of_day, rng):
        """Their next serial number: it grows with their rate, never back."""
        hours = max(0, minute_of_day - 5 * 60) / 60.0
        estimate = int(self.rate * hours) + self.offset + rng.randint(0, 3)
        self.last_serial = max(self.last_serial + 1, estimate)
        return "%03d" % self.last_serial


# --- The log ----------------------------------------------------------------------

# A QSO as the logger stores it; `adif` holds extra fields in export order.
class Qso:
    def __init__(self, **fields):
        self.__dict__.update(fields)


def contest_mode(minute):
    """The operator's plan: CW in the morning, SSB at midday, RTTY in the
    afternoon, then CW and SSB again."""
    if minute < 9 * 60:
        return "CW"
    if minute < 12 * 60 + 30:
        return "SSB"
    if minute < 15 * 60:
        return "RTTY"
    if minute < 18 * 60:
        return "CW"
    return "SSB"


def frequency_for(mode, rng):
    if mode == "CW":
        return rng.randint(7_008_000, 7_035_000) + rng.choice([0, 100, 500, 900])
    if mode == "RTTY":
        return rng.randint(7_036_000, 7_045_000) + rng.choice([0, 250, 850])
    return rng.randint(7_060_000, 7_095_000) + rng.choice([0, 500])


def report_for(mode, rng):
    if mode == "SSB":
        return rng.choice(["59", "59", "59", "58", "57"])
    return rng.choice(["599", "599", "599", "599", "579", "589"])


def mhz(hz):
    whole, fraction = hz // 1_000_000, "%06d" % (hz % 1_000_000)
    while len(fraction) > 3 and fraction.endswith("0"):
        fraction = fraction[:-1]
    return "%d.%s" % (whole, fraction)


def make_log(rng):
    pool = [Station(make_call(rng), rng) for _ in range(320)]
    # Keep call signs unique.
    seen = {}
    for station in pool:
        seen.setdefault(station.call, station)
    pool = [s for s in seen.values() if s.call not in dict(SPECIAL_STATIONS)]
    specials = [Station(call, rng, special=True) for call, _ in SPECIAL_STATIONS]

    qsos = []
    worked = {}  # (call, mode) -> True for stations already worked in a mode
    minute = 5 * 60 + 2
    serial = 0
    # QSOs that repeat an earlier QSO: with a recent station, or (a third
    # time) with the station of the QSO just before.
    planned_dupes = {40: "recent", 95: "recent", 150: "recent", 205: "recent",
                     260: "recent", 261: "previous"}
    special_slots = set(rng.sample(range(10, 300), 14))

    while minute < 20 * 60 + 50:
        mode = contest_mode(minute)
        index = len(qsos)
        if index in planned_dupes:
            # The operator works a station again in the same mode: the
            # logger keeps it, the plug-in flags it.
            if planned_dupes[index] == "previous":
                station = qsos[-1].station
                mode = qsos[-1].mode_host
            else:
                earlier = [q for q in qsos if q.mode_host == mode and not q.station.special]
                station = rng.choice(earlier[-12:-1]).station
        elif index in special_slots:
            candidates = [s for s in specials if (s.call, mode) not in worked]
            if not candidates:
                candidates = [s for s in pool if (s.call, mode) not in worked]
            station = rng.choice(candidates)
        else:
            station = rng.choice([s for s in pool if (s.call, mode) not in worked])
        worked[(station.call, mode)] = True
        serial += 1
        qsos.append(make_qso(station, mode, minute, serial, rng))
        minute += rng.choice([1, 1, 2, 2, 2, 3, 3, 4, 5, 7])

    add_rule_breakers(qsos, pool, specials, rng)
    for number, qso in enumerate(qsos, 1):
        qso.stx = "%03d" % number
    return qsos


def make_qso(station, mode, minute, serial, rng):
    hz = frequency_for(mode, rng)
    extra = []
    if station.name:
        extra.append(("NAME", station.name))
    qso = Qso(station=station, call=station.call, minute=minute, seconds=None,
              hz=hz, band="40M", mode_adif=mode, submode=None, mode_host=mode,
              rst_sent=report_for(mode, rng), rst_rcvd=report_for(mode, rng),
              srx="PW" if station.special else station.serial_at(minute, rng),
              stx=None, give_band=True, give_freq=True, extra=extra,
              counts_for_dupes=True)
    if mode == "SSB":
        # Loggers write 40 m phone as SSB with submode LSB; an older one
        # writes the sideband as the mode.
        if rng.random() < 0.15:
            qso.mode_adif = "LSB"
        else:
            qso.submode = "LSB"
    if rng.random() < 0.08:
        qso.give_band = False  # the band comes from the frequency
    if rng.random() < 0.2:
        qso.seconds = rng.randint(0, 59)
    return qso


def add_rule_breakers(qsos, pool, specials, rng):
    """QSOs that the rules reject, and a few that they accept in a special way."""
    def at(position):
        return qsos[position]

    unworked = [s for s in pool if all(q.call != s.call for q in qsos)]

    # A QSO on 20 m during a break from the contest.
    q = at(60)
    q20 = make_qso(unworked.pop(), "CW", q.minute, 0, rng)
    q20.hz, q20.band = 14_025_300, "20M"
    q20.counts_for_dupes = False
    qsos.insert(61, q20)

    # An FT8 QSO on 40 m (digital, not a contest mode).
    q = at(170)
    ft8 = make_qso(unworked.pop(), "CW", q.minute, 0, rng)
    ft8.hz, ft8.mode_adif, ft8.mode_host = 7_074_000, "FT8", "FT8"
    ft8.rst_sent, ft8.rst_rcvd = "-08", "-12"
    ft8.counts_for_dupes = False
    qsos.insert(171, ft8)

    # A BPSK63 QSO: MODE PSK with its submode, which the host shows.
    q = at(230)
    psk = make_qso(unworked.pop(), "CW", q.minute, 0, rng)
    psk.hz, psk.mode_adif, psk.submode, psk.mode_host = 7_040_500, "PSK", "BPSK63", "BPSK63"
    psk.counts_for_dupes = False
    qsos.insert(231, psk)

    # The exchange was not copied.
    q = at(120)
    q.srx = None
    q.counts_for_dupes = False

    # Not a serial number but the report typed into the exchange field: the
    # plug-in accepts the QSO but IsValidExchg0 refuses "599".
    q = at(200)
    if q.mode_host != "SSB" and not q.station.special:
        q.srx = "599"
    else:
        at(201).srx = "599"

    # A special station whose exchange was logged as a number: 1 point only.
    for q in qsos[250:]:
        if q.station.special:
            q.srx = "%03d" % rng.randint(100, 400)
            break


# --- The plug-in's rules, applied independently ----------------------------------

def apply_rules(qsos):
    """Returns (accepted records with their dupe mark, error-report lines)."""
    accepted = []
    report = []
    year, month, day = CONTEST_DATE
    for q in qsos:
        srx = q.srx or ""
        line = "QSO:  %d  %s  %s  %s  %s  %s  %s  %s  %s" % (
            q.hz // 1000, q.mode_host, date_text(year, month, day, q.minute), OWN_CALL,
            q.rst_sent, q.stx, q.call, q.rst_rcvd, srx)
        band = q.band.lower()
        if not srx or not q.stx:
            report.append(line + "   NO TX or RX NUMBER !!!\r\n")
            continue
        if q.mode_host not in ("CW", "SSB", "RTTY"):
            report.append(line + "   NO TEST MODE !!!\r\n")
            continue
        if band != "40m":
            report.append(line + "   NO CONTEST BAND !!!\r\n")
            continue
        matches = [a for a in accepted
                   if a["call"] == q.call and a["band"] == band and a["mode"] == q.mode_host]
        for _ in matches:
            report.append(line + "   DUPE !!!\r\n")
        accepted.append({"qso": q, "call": q.call, "band": band, "mode": q.mode_host,
                         "srx": srx, "dupe": bool(matches)})
    return accepted, report


def score(accepted):
    row = {"qsos": 0, "points": 0, "CW": 0, "SSB": 0, "RTTY": 0}
    for a in accepted:
        if a["dupe"] or not a["call"]:
            continue
        row["qsos"] += 1
        row["points"] += 3 if a["srx"] == "PW" else 1
        row[a["mode"]] += 1
    return row


# --- Files ------------------------------------------------------------------------

def adif_field(name, value):
    data = value.encode("utf-8")
    return "<%s:%d>%s" % (name, len(data), value)


def write_adif(qsos):
    year, month, day = CONTEST_DATE
    lines = [
        "Журнал UA3VLK: День Велкаро, 40 м",
        "Exported by examples/make_example.py (seed %d)" % SEED,
        adif_field("ADIF_VER", "3.1.4"),
        adif_field("PROGRAMID", "make_example.py"),
        adif_field("CREATED_TIMESTAMP", "%04d%02d%02d 235900" % CONTEST_DATE),
        "<EOH>",
        "",
    ]
    for q in qsos:
        time = "%02d%02d" % (q.minute // 60, q.minute % 60)
        if q.seconds is not None:
            time += "%02d" % q.seconds
        fields = [adif_field("CALL", q.call),
                  adif_field("QSO_DATE", "%04d%02d%02d" % CONTEST_DATE),
                  adif_field("TIME_ON", time)]
        if q.give_band:
            fields.append(adif_field("BAND", q.band))
        if q.give_freq:
            fields.append("<FREQ:%d:N>%s" % (len(mhz(q.hz)), mhz(q.hz)))
        fields.append(adif_field("MODE", q.mode_adif))
        if q.submode:
            fields.append(adif_field("SUBMODE", q.submode))
        fields += [adif_field("RST_SENT", q.rst_sent), adif_field("RST_RCVD", q.rst_rcvd),
                   adif_field("STX_STRING", q.stx)]
        if q.srx:
            fields.append(adif_field("SRX_STRING", q.srx))
        for name, value in q.extra:
            fields.append(adif_field(name, value))
        fields += [adif_field("CONTEST_ID", "VELKARO-DAY"),
                   adif_field("STATION_CALLSIGN", OWN_CALL)]
        lines.append(" ".join(fields) + " <EOR>")
    return ("\n".join(lines) + "\n").encode("utf-8")


def station_list():
    lines = ["%d %s %s" % (n, call, remark)
             for n, (call, remark) in enumerate(SPECIAL_STATIONS, 1)]
    return ("\r\n".join(lines) + "\r\n").encode(ENCODING)


def settings_file():
    lines = ["[Settings]"] + ["%s=%s" % kv for kv in SETTINGS]
    return ("\r\n".join(lines) + "\r\n").encode(ENCODING)


def result_text(accepted):
    row = score(accepted)
    day = "%02d.%02d.%04d" % (CONTEST_DATE[2], CONTEST_DATE[1], CONTEST_DATE[0])
    text = "\tДень велкаро %s\r\n\t   Contestant: %s \r\n" % (day, OWN_CALL)
    text += "\tQSOs\tPoints\tCW\tSSB\tRTTY\r\n"
    numbers = lambda values: "".join("\t %d" % v for v in values) + "\r\n"
    if accepted:
        text += "40m" + numbers([row["qsos"], row["points"], row["CW"], row["SSB"],
                                  row["RTTY"]])
    text += "Total" + numbers([len(accepted), row["points"], row["CW"], row["SSB"],
                               row["RTTY"]])
    text += "\r\nScore:  = %d\r\n" % row["points"]
    return text.encode(ENCODING)


def cabrillo_file(accepted):
    settings = dict(SETTINGS)
    soapbox = settings["SoapBox"].replace("<CR>", "\r\nSOAPBOX: ").replace("<LF>", "")
    header = [
        ("START-OF-LOG: ", "3.0"),
        ("CONTEST: ", "ДЕНЬ ВЕЛКАРО"),
        ("CALLSIGN: ", OWN_CALL),
        ("CATEGORY-OPERATOR: ", "SINGLE-OP"),
        ("CATEGORY-MODE: ", "MIXED"),
        ("LOCATION: ", settings["Loc"]),
        ("CLAIMED-SCORE: ", str(score(accepted)["points"])),
        ("CLUB: ", settings["Club"]),
        ("CREATED-BY: Zelvo ", ""),  # no host executable beside the replay
        ("E-MAIL: ", settings["Email"]),
        ("NAME: ", settings["Name"]),
        ("ADDRESS: ", settings["Address"]),
        ("ADDRESS-CITY: ", settings["Address-City"]),
        ("ADDRESS-POSTALCODE: ", settings["Address-PostalCode"]),
        ("ADDRESS-COUNTRY: ", settings["Address-Country"]),
        ("OPERATORS: ", settings["Operators"]),
        ("SOAPBOX: ", soapbox),
    ]
    text = "".join(tag + value + "\r\n" for tag, value in header)
    codes = {"CW": "CW", "SSB": "PH", "RTTY": "RY"}
    year, month, day = CONTEST_DATE
    for a in accepted:
        q = a["qso"]
        text += "QSO: %5d %2s %s %-13s %-3s %-6s %-13s %-3s %s\r\n" % (
            q.hz // 1000, codes[q.mode_host], date_text(year, month, day, q.minute),
            OWN_CALL, q.rst_sent, q.stx, q.call, q.rst_rcvd, a["srx"])
    text += "END-OF-LOG:\r\n"
    return text.encode(ENCODING)


def generate():
    rng = random.Random(SEED)
    qsos = make_log(rng)
    accepted, report = apply_rules(qsos)
    header = "День велкаро UBN file \r\n"
    files = {
        "velkaro-day.adi": write_adif(qsos),
        os.path.join("Plugins", "velkar.dat"): station_list(),
        os.path.join("Plugins", "Velkaro.ini"): settings_file(),
        os.path.join("expected", "result.txt"): result_text(accepted),
        os.path.join("expected", "err.txt"): (header + "".join(report)).encode(ENCODING),
        os.path.join("expected", OWN_CALL + ".cbr"): cabrillo_file(accepted),
    }
    row = score(accepted)
    reasons = {}
    for line in report:
        reason = line.rsplit("   ", 1)[1].strip()
        reasons[reason] = reasons.get(reason, 0) + 1
    summary = [
        "%d QSOs in the log, %d accepted, %d rejected" % (
            len(qsos), len(accepted), len(qsos) - len(accepted)),
        "scoring QSOs %d (CW %d, SSB %d, RTTY %d), duplicates %d, points %d" % (
            row["qsos"], row["CW"], row["SSB"], row["RTTY"],
            sum(1 for a in accepted if a["dupe"]), row["points"]),
        "special-station QSOs with PW: %d" % sum(
            1 for a in accepted if a["srx"] == "PW" and not a["dupe"]),
        "error report: " + ", ".join("%s %d" % kv for kv in reasons.items()),
    ]
    return files, summary


def main(argv):
    check = "--check" in argv[1:]
    files, summary = generate()
    stale = []
    for name, data in files.items():
        path = os.path.join(HERE, name)
        if check:
            try:
                with open(path, "rb") as f:
                    if f.read() != data:
                        stale.append(name)
            except OSError:
                stale.append(name)
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    print("\n".join(summary))
    if stale:
        print("out of date: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
