#!/usr/bin/env python3
"""Writes the shipped parts catalogue of VellCfgRdr.

Outputs, in src/core/resources:
  PartDescriptions.txt  the part table (header line, then tab-separated rows)
  PartInfo.sup          bundle contents, connectors and shield kits
  PartMapping.txt       legacy part names and the current names they stand for

The tables in this script are the source of the catalogue; the three files are
committed with it so that the build never needs Python. The output is fully
deterministic (no randomness). Naming rules: docs/catalogue.md.

The script ends with a self-check of the catalogue's own rules and stops with
an assertion error when one is broken.

Usage: gen_catalogue.py            write the three files
       gen_catalogue.py --check    only compare with the committed files
"""

from __future__ import annotations

import re
import sys
from dataclasses import dataclass, field
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
RESOURCES = ROOT / "src" / "core" / "resources"
CATALOGUE_DOC = ROOT / "docs" / "catalogue.md"

HEADER = ["Family", "Type", "Group", "PartName", "ModuleId", "Slots", "Placement",
          "PartCapabilities", "Picklist", "DescriptionEnglish", "DescriptionFrench"]

# Family, type and group texts the reader accepts (enumeration texts).
FAMILIES = {"Wren", "SLC500", "Brisk7", "Lark", "GarnetSeries", "Kestrel", "BriskFinch",
            "PLC5", "Sorrel", "Osprey", "Heron", "Raven", "ControlLogix", "S5-Small",
            "S5-Medium", "S5-Large", "S7-300", "S7-400", "S7-Large", "S5-ML", "Plover",
            "NonSpecific"}
MAKER_FAMILIES = {"Kestrel", "Raven", "GarnetSeries", "Heron", "Wren", "Brisk7", "Plover",
                  "Sorrel", "Osprey", "Lark", "BriskFinch"}
TYPES = {"Rack", "CPU", "Power", "Module", "QWA", "Cable", "Bundle", "Service", "Other"}
GROUPS = {"A-Line", "Accessories", "Alliance", "AnalogIn", "AnalogMixed", "AnalogOut",
          "Strand", "Common", "Communication", "Counter", "DIO", "DiscreteIn",
          "DiscreteMixed", "DiscreteOut", "Extension", "HotStandby", "Main", "Memory",
          "Motion", "Other", "Tessel", "RIO-Head", "RIO-Drop", "Special", "Terminal",
          "Cobalt", "Standard", "Redundant", "Unsupported"}
CAPABILITY_WORDS = {"HsbCpu", "2PowerSlots", "ChassisWithRack", "Redundant"}

# Families whose legacy tools store module ids instead of names.
ID_FAMILIES = {"GarnetSeries", "Kestrel", "Sorrel", "Plover"}

# Placement codes (docs/catalogue.md, "Placement codes").
PLACE_ANY = 0
PLACE_POWER = 1        # power-supply position, or the first slot of racks without one
PLACE_CPU = 2          # processor position
PLACE_MAIN_RACK = 3    # main rack only (needs the processor's backplane)
PLACE_EXTENDER = 4     # extender position of a rack
PLACE_REMOTE = 5       # remote drop only

# Names that are prefixes of other names on purpose. A known name that starts
# another one is offered with the longer ones as candidates by the exchange
# file writer, so a real product must never be the start of another name.
PREFIX_EXCEPTIONS = set()


@dataclass
class Part:
    family: str
    type: str
    group: str
    name: str
    module_id: int = 0
    slots: int = 1
    placement: int = PLACE_ANY
    caps: str = ""
    picklist: list = field(default_factory=list)
    en: str = ""
    fr: str = ""


def compressed(name: str) -> str:
    return name.replace(" ", "").replace("-", "")


def key(name: str) -> str:
    return compressed(name).upper()


# ---------------------------------------------------------------------------
# Module ids: one number range per group, so that ids stay stable when a
# family gains parts in another group.
ID_BASES = [("DiscreteIn", 100), ("DiscreteOut", 200), ("DiscreteMixed", 300),
            ("AnalogIn", 400), ("AnalogOut", 500), ("AnalogMixed", 580), ("Counter", 600),
            ("Motion", 640), ("Communication", 680), ("RIO-Head", 740), ("RIO-Drop", 750),
            ("Extension", 770), ("HotStandby", 790), ("Special", 800), ("DIO", 840),
            ("Standard", 940), ("Redundant", 970), ("end", 1000)]


class IdPool:
    def __init__(self):
        self.next = {}

    def take(self, family: str, group: str) -> int:
        bases = dict(ID_BASES)
        n = self.next.get((family, group), bases[group] + 1)
        limit = min(b for _, b in ID_BASES if b > bases[group])
        assert n < limit, f"module id range of {group} full in {family}"
        self.next[(family, group)] = n + 1
        return n


class Catalogue:
    def __init__(self):
        self.lines = []          # Part or comment text, in file order
        self.parts = []
        self.by_key = {}
        self.ids = IdPool()

    def comment(self, text: str, blank_before: bool = True):
        if blank_before:
            self.lines.append("")
        self.lines.append(text)

    def add(self, part: Part) -> Part:
        if part.family in ID_FAMILIES and part.type in ("Module", "Power"):
            part.module_id = self.ids.take(part.family, part.group)
        self.lines.append(part)
        self.parts.append(part)
        assert key(part.name) not in self.by_key, f"duplicate part {part.name}"
        self.by_key[key(part.name)] = part
        return part

    def get(self, name: str) -> Part:
        return self.by_key[key(name)]

    def has(self, name: str) -> bool:
        return key(name) in self.by_key

    def of(self, family=None, type_=None, prefix=None, ambiguous=False):
        out = []
        for p in self.parts:
            if family and p.family not in ((family,) if isinstance(family, str) else family):
                continue
            if type_ and p.type not in ((type_,) if isinstance(type_, str) else type_):
                continue
            if prefix and not p.name.startswith(prefix):
                continue
            if not ambiguous and p.picklist:
                continue
            out.append(p)
        return out


# ---------------------------------------------------------------------------
# Description texts. Every builder returns (English, French).

def fr_num(x) -> str:
    return str(x).replace(".", ",")


def join_words(words, lang):
    if not words:
        return ""
    if len(words) == 1:
        return words[0]
    return ", ".join(words[:-1]) + (" and " if lang == "en" else " et ") + words[-1]


DC_VOLTS = {"05": "5 V", "24": "24 V", "48": "48 V", "25": "125 V"}
AC_VOLTS = {"12": "120 V", "23": "230 V"}
PSU_INPUT = {("12", "A"): ("120 V AC", "120 V CA"), ("23", "A"): ("230 V AC", "230 V CA"),
             ("24", "A"): ("100-240 V AC wide-range", "100-240 V CA plage étendue"),
             ("24", "D"): ("24 V DC", "24 V CC"), ("48", "D"): ("48 V DC", "48 V CC"),
             ("25", "D"): ("125 V DC", "125 V CC")}


def volts(code: str, ac: bool):
    if ac:
        v = AC_VOLTS[code]
        return f"{v} AC", f"{v} CA"
    v = DC_VOLTS[code]
    extra = " (TTL)" if code == "05" else ""
    return f"{v} DC{extra}", f"{v} CC{extra}"


def terminal_text(channels: int):
    if channels >= 32:
        return "40-pin connector", "connecteur 40 points"
    return "removable screw terminal block", "bornier à vis débrochable"


def desc_din(v: str):
    ch, code, letters = int(v[:2]), v[2:4], v[4:]
    ve, vf = volts(code, "A" in letters)
    en = [f"Discrete input module, {ch} inputs {ve}"]
    fr = [f"Module d'entrées TOR, {ch} entrées {vf}"]
    if "I" in letters:
        en.append("channel-to-channel isolation")
        fr.append("voies isolées entre elles")
    if "F" in letters:
        en.append("fast inputs with 50 µs filter")
        fr.append("entrées rapides, filtre 50 µs")
    if "D" in letters:
        en.append("wire-break and short-circuit diagnostics")
        fr.append("diagnostic de rupture de fil et de court-circuit")
    te, tf = terminal_text(ch)
    return ", ".join(en + [te]), ", ".join(fr + [tf])


def desc_dou(v: str):
    ch, code, letters = int(v[:2]), v[2:4], v[4:]
    kind, extra = letters[0], letters[1:]
    if kind == "R":
        contact = "230 V AC" if code == "23" else "24 V DC"
        contact_fr = "230 V CA" if code == "23" else "24 V CC"
        en = [f"Discrete output module, {ch} relay outputs, contacts 2 A at {contact}"]
        fr = [f"Module de sorties TOR, {ch} sorties relais, contacts 2 A sous {contact_fr}"]
    elif kind == "A":
        ve, vf = volts(code, True)
        en = [f"Discrete output module, {ch} triac outputs {ve} 1 A"]
        fr = [f"Module de sorties TOR, {ch} sorties triac {vf} 1 A"]
    else:
        ve, vf = volts(code, False)
        amps = {4: "2", 8: "1", 16: "0.5", 32: "0.5", 64: "0.1"}[ch]
        en = [f"Discrete output module, {ch} transistor outputs {ve} {amps} A"]
        fr = [f"Module de sorties TOR, {ch} sorties transistor {vf} {fr_num(amps)} A"]
    if "D" in extra:
        en.append("short-circuit protected with diagnostics")
        fr.append("protégées contre les courts-circuits, avec diagnostic")
    te, tf = terminal_text(ch)
    return ", ".join(en + [te]), ", ".join(fr + [tf])


def desc_dmx(v: str):
    ins, outs, relay = int(v[:2]), int(v[2:4]), v[4:] == "R"
    if relay:
        return (f"Discrete I/O module, {ins} inputs 24 V DC and {outs} relay outputs 2 A",
                f"Module d'E/S TOR, {ins} entrées 24 V CC et {outs} sorties relais 2 A")
    return (f"Discrete I/O module, {ins} inputs 24 V DC and {outs} outputs 24 V DC 0.5 A",
            f"Module d'E/S TOR, {ins} entrées 24 V CC et {outs} sorties 24 V CC 0,5 A")


ANALOG_RE = re.compile(r"^(\d\d)(TC|RT|\d\dV|\d\d)([A-Z]*)$")


def signal_text(sig: str):
    if sig == "TC":
        return ("thermocouple (J, K, T, E, R, S, B, N), cold-junction compensation",
                "thermocouple (J, K, T, E, R, S, B, N), compensation de soudure froide")
    if sig == "RT":
        return "RTD Pt100/Pt1000, 2, 3 or 4 wires", "sonde Pt100/Pt1000, 2, 3 ou 4 fils"
    if sig == "10V":
        return "±10 V", "±10 V"
    if sig == "05V":
        return "0-5 V", "0-5 V"
    if sig == "20":
        return "4-20 mA", "4-20 mA"
    raise ValueError(sig)


def analog_extras(letters: str):
    en, fr = [], []
    if "I" in letters:
        en.append("channel-to-channel isolation")
        fr.append("voies isolées entre elles")
    if "H" in letters:
        en.append("HART pass-through")
        fr.append("transmission HART")
    return en, fr


def desc_ain(v: str):
    ch, sig, letters = ANALOG_RE.match(v).groups()
    se, sf = signal_text(sig)
    xe, xf = analog_extras(letters)
    bits = "16-bit" if int(ch) <= 8 else "15-bit"
    bits_fr = "16 bits" if int(ch) <= 8 else "15 bits"
    en = [f"Analog input module, {int(ch)} channels {se}", f"{bits} resolution"] + xe
    fr = [f"Module d'entrées analogiques, {int(ch)} voies {sf}", f"résolution {bits_fr}"] + xf
    return ", ".join(en), ", ".join(fr)


def desc_aou(v: str):
    ch, sig, letters = ANALOG_RE.match(v).groups()
    se, sf = signal_text(sig)
    xe, xf = analog_extras(letters)
    en = [f"Analog output module, {int(ch)} channels {se}", "16-bit resolution"] + xe
    fr = [f"Module de sorties analogiques, {int(ch)} voies {sf}", "résolution 16 bits"] + xf
    return ", ".join(en), ", ".join(fr)


def desc_amx(v: str):
    ins, outs, volt = int(v[:2]), int(v[2:4]), v[4:] == "V"
    sig = "±10 V" if volt else "4-20 mA"
    return (f"Analog I/O module, {ins} inputs and {outs} outputs {sig}, 16-bit resolution",
            f"Module d'E/S analogiques, {ins} entrées et {outs} sorties {sig}, résolution 16 bits")


TEXTS_ETH = {
    "0100": ("Ethernet communication module, one 10/100 Mbit/s port, Modbus TCP client and server",
             "Module de communication Ethernet, un port 10/100 Mbit/s, client et serveur Modbus TCP"),
    "0200": ("Ethernet communication module, two ports with integrated switch, ring topology",
             "Module de communication Ethernet, deux ports avec commutateur intégré, topologie en anneau"),
    "0300": ("Ethernet communication module, I/O scanner for up to 128 devices and embedded web "
             "server; diagnostics pages for every scanned device, SNMP agent and time "
             "synchronisation by SNTP; firmware update through the programming tool",
             "Module de communication Ethernet, scrutateur d'E/S pour 128 équipements et serveur "
             "web intégré ; pages de diagnostic pour chaque équipement scruté, agent SNMP et "
             "synchronisation horaire SNTP ; mise à jour du micrologiciel par l'atelier logiciel"),
    "0400": ("Ethernet communication module, fibre-optic port 100BASE-FX, multimode",
             "Module de communication Ethernet, port fibre optique 100BASE-FX, multimode"),
}
TEXTS_SER = {
    "0100": ("Serial communication module, one RS-232/RS-485 port, Modbus master and slave, ASCII",
             "Module de communication série, un port RS-232/RS-485, Modbus maître et esclave, ASCII"),
    "0200": ("Serial communication module, two RS-232/RS-485 ports, Modbus and ASCII protocols",
             "Module de communication série, deux ports RS-232/RS-485, protocoles Modbus et ASCII"),
    "0400": ("Serial communication module, four isolated RS-485 ports",
             "Module de communication série, quatre ports RS-485 isolés"),
}
TEXTS_FLD = {
    "0100": ("Fieldbus master module, up to 125 slaves, 12 Mbit/s",
             "Module maître bus de terrain, jusqu'à 125 esclaves, 12 Mbit/s"),
    "0200": ("Fieldbus slave module, 244 bytes in and out",
             "Module esclave bus de terrain, 244 octets en entrée et en sortie"),
    "0300": ("CAN fieldbus master module, up to 63 nodes",
             "Module maître bus de terrain CAN, jusqu'à 63 nœuds"),
}
TEXTS_SPC = {
    "0100": ('Programmable module "BASIC", 64 KB program memory, two serial ports',
             'Module programmable "BASIC", mémoire programme 64 Ko, deux ports série'),
    "0200": ("Weighing module, one load-cell channel, 24-bit resolution",
             "Module de pesage, une voie pour cellule de charge, résolution 24 bits"),
    "0300": ("Loop controller module, 8 PID loops with autotuning",
             "Module de régulation, 8 boucles PID avec autoréglage"),
    "0400": ("High-speed analog input module, 4 channels ±10 V, 10 µs conversion",
             "Module d'entrées analogiques rapides, 4 voies ±10 V, conversion 10 µs"),
    "0500": ("Time synchronisation module, GPS receiver input, 1 ms time stamping",
             "Module de synchronisation horaire, entrée récepteur GPS, horodatage 1 ms"),
    "0600": ('Interface module "ASCII", barcode readers and printers, two ports',
             'Module d\'interface "ASCII", lecteurs de codes-barres et imprimantes, deux ports'),
    "0700": ("Safety relay monitoring module, 4 dual-channel inputs",
             "Module de surveillance de relais de sécurité, 4 entrées bicanales"),
    "0800": ("Data logging module, 1 GB flash memory, CSV export",
             "Module d'enregistrement de données, mémoire flash 1 Go, export CSV"),
}
TEXTS_MEM = {
    "0128": ("Memory card, 128 KB, program backup", "Carte mémoire 128 Ko, sauvegarde du programme"),
    "0512": ("Memory card, 512 KB, program backup", "Carte mémoire 512 Ko, sauvegarde du programme"),
    "2048": ("Memory card, 2 MB, program and data backup",
             "Carte mémoire 2 Mo, sauvegarde du programme et des données"),
}
TEXTS_TRM = {
    "2000": ("Terminal block, 20 screw terminals", "Bornier, 20 bornes à vis"),
    "2001": ("Terminal block, 20 spring-clamp terminals", "Bornier, 20 bornes à ressort"),
    "4000": ("Terminal block, 40 screw terminals", "Bornier, 40 bornes à vis"),
    "4001": ("Terminal block, 40 spring-clamp terminals", "Bornier, 40 bornes à ressort"),
}


def desc_cnt(v: str):
    ch, khz, letters = re.match(r"^(\d\d)(\d+)([A-Z]*)$", v).groups()
    en = f"High-speed counter module, {int(ch)} channels {int(khz)} kHz"
    fr = f"Module de comptage rapide, {int(ch)} voies {int(khz)} kHz"
    if letters == "A":
        en += ", 5 V differential encoder inputs"
        fr += ", entrées codeur différentielles 5 V"
    elif letters == "B":
        en += ', 24 V encoder inputs, "Smart" preset mode'
        fr += ', entrées codeur 24 V, mode de présélection "Smart"'
    else:
        en += ", 24 V DC encoder inputs, two outputs per channel"
        fr += ", entrées codeur 24 V CC, deux sorties par voie"
    return en, fr


def desc_mot(v: str):
    axes, version = int(v[:2]), v[2:]
    en = f"Motion control module, {axes} " + ("axis" if axes == 1 else "axes")
    fr = f"Module de commande d'axes, {axes} axe" + ("" if axes == 1 else "s")
    en += ", ±10 V analog command and incremental encoder feedback"
    fr += ", consigne analogique ±10 V et retour codeur incrémental"
    if version != "00":
        en += f", version {int(version)}"
        fr += f", version {int(version)}"
    if axes >= 4:
        en += ", two slots wide"
        fr += ", occupe deux emplacements"
    return en, fr


def desc_psu(v: str, redundant: bool):
    amps, code, kind = int(v[:2]), v[2:4], v[4]
    ie, if_ = PSU_INPUT[(code, kind)]
    if redundant:
        return (f"Redundant power supply, {ie} input, {amps} A backplane current, "
                "for racks with two power-supply slots",
                f"Alimentation redondante, entrée {if_}, {amps} A sur le fond de panier, "
                "pour châssis à deux emplacements d'alimentation")
    return (f"Power supply, {ie} input, {amps} A backplane current",
            f"Alimentation, entrée {if_}, {amps} A sur le fond de panier")


FEATURES = {
    "eth": ("Ethernet port", "port Ethernet"),
    "ser1": ("one serial port", "un port série"),
    "ser2": ("two serial ports", "deux ports série"),
    "rio": ("integrated remote I/O head", "tête d'E/S déportées intégrée"),
    "usb": ("USB programming port", "port de programmation USB"),
    "fld": ("fieldbus master port", "port maître bus de terrain"),
    "card": ("memory-card slot", "emplacement pour carte mémoire"),
    "float": ("floating-point unit", "unité de calcul en virgule flottante"),
    "pci": ("PC card format", "format carte PC"),
    "bus": ("bus card format", "format carte bus"),
}


def mem_fr(mem: str) -> str:
    return mem.replace("KB", "Ko").replace("MB", "Mo")


def desc_cpu(mem: str, feats, hsb_parts=None):
    fe = [FEATURES[f][0] for f in feats]
    ff = [FEATURES[f][1] for f in feats]
    if hsb_parts:
        en = f"Hot-standby processor, {mem} program memory, {join_words(fe, 'en')}"
        fr = f"Processeur redondant, mémoire programme {mem_fr(mem)}, {join_words(ff, 'fr')}"
        en += f"\\nRequires {' and '.join(hsb_parts)} for the link to the standby processor."
        fr += f"\\nNécessite {' et '.join(hsb_parts)} pour la liaison avec l'UC de secours."
        return en, fr
    en = f"Processor, {mem} program memory, {join_words(fe, 'en')}"
    fr = f"Processeur, mémoire programme {mem_fr(mem)}, {join_words(ff, 'fr')}"
    if len(feats) >= 4:
        en += ("; online program changes, time-stamped events, up to 16 cyclic and event "
               "tasks, program backup in flash memory without battery")
        fr += (" ; modifications en ligne, événements horodatés, jusqu'à 16 tâches cycliques "
               "et événementielles, sauvegarde du programme en mémoire flash sans pile")
    return en, fr


def desc_rack(slots: int, main: bool, caps: str, family_text: str, extendable=None):
    en = f"{'Main' if main else 'Extension'} rack, {slots} slots, for {family_text} modules"
    kind_fr = "principal" if main else "d'extension"
    fr = f"Châssis {kind_fr}, {slots} emplacements, pour modules {family_text}"
    if extendable is True:
        en += ", extendable"
        fr += ", extensible"
    elif extendable is False:
        en += ", not extendable"
        fr += ", non extensible"
    if "2PowerSlots" in caps:
        en += ", two power-supply slots for redundant supplies"
        fr += ", deux emplacements d'alimentation pour alimentations redondantes"
    if "ChassisWithRack" in caps:
        en += ", power supply included"
        fr += ", alimentation intégrée"
    return en, fr


def legacy_texts(successor: Part):
    """Descriptions of a numeric legacy part kept for service."""
    first_en = ", ".join(successor.en.split(", ")[:2])
    first_fr = ", ".join(successor.fr.split(", ")[:2])
    en = (f"Legacy {first_en[0].lower()}{first_en[1:]}. <b>Service only</b>"
          f"\\nSuccessor: {successor.name}")
    fr = (f"Ancien modèle : {first_fr[0].lower()}{first_fr[1:]}. <b>Service après-vente "
          f"uniquement</b>\\nSuccesseur : {successor.name}")
    return en, fr


# ---------------------------------------------------------------------------
# Function codes of the maker's catalogue: type and group of a part.
CODE_INFO = {
    "RCK": ("Rack", "Main"), "RKX": ("Rack", "Extension"),
    "CPU": ("CPU", "Standard"), "PRC": ("CPU", "Standard"),
    "PSU": ("Power", "Standard"), "PSR": ("Power", "Redundant"),
    "DIN": ("Module", "DiscreteIn"), "DOU": ("Module", "DiscreteOut"),
    "DMX": ("Module", "DiscreteMixed"), "AIN": ("Module", "AnalogIn"),
    "AOU": ("Module", "AnalogOut"), "AMX": ("Module", "AnalogMixed"),
    "ETH": ("Module", "Communication"), "SER": ("Module", "Communication"),
    "FLD": ("Module", "Communication"), "RIO": ("Module", "RIO-Head"),
    "RDA": ("Module", "RIO-Drop"), "XBE": ("Module", "Extension"),
    "CNT": ("Module", "Counter"), "MOT": ("Module", "Motion"),
    "SPC": ("Module", "Special"), "HSB": ("Module", "HotStandby"),
    "SCV": ("Other", "Accessories"), "TRM": ("Other", "Terminal"),
    "CON": ("QWA", "Terminal"), "SHK": ("Other", "Accessories"),
    "BDL": ("Bundle", "Common"), "MEM": ("Other", "Memory"), "BAT": ("Other", "Memory"),
    "PRG": ("Other", "Accessories"),
}

DESCRIBE = {
    "DIN": desc_din, "DOU": desc_dou, "DMX": desc_dmx, "AIN": desc_ain, "AOU": desc_aou,
    "AMX": desc_amx, "CNT": desc_cnt, "MOT": desc_mot,
    "ETH": lambda v: TEXTS_ETH[v], "SER": lambda v: TEXTS_SER[v],
    "FLD": lambda v: TEXTS_FLD[v], "SPC": lambda v: TEXTS_SPC[v],
    "MEM": lambda v: TEXTS_MEM[v], "TRM": lambda v: TEXTS_TRM[v],
}

# Variant pools; each family takes a subset. Within a code no variant is the
# start of another, so that no part name is the start of another one.
DIN_ALL = ["0824", "1624", "3224", "6424", "1648", "3248", "0825", "1625", "0805", "1605",
           "0812A", "1612A", "3212A", "1623A", "3223A", "0823AI", "0424F", "0848D"]
DOU_ALL = ["0824T", "1624T", "3224T", "6424T", "1648T", "3248T", "0825T", "1625T", "0424TD",
           "0448TD", "0824R", "1624R", "0823R", "0812A", "1612A", "1623A", "3212A", "3223A"]
DMX_ALL = ["0808", "1616", "3232", "1608R", "2416R"]
AIN_ALL = ["0820", "1620", "0410V", "0810V", "1610V", "0405V", "0805V", "04TC", "08TC", "16TC",
           "04RT", "08RT", "16RT", "0420I", "0420H"]
AOU_ALL = ["0220", "0820", "1620", "0210V", "0410V", "0810V", "1610V", "0205V", "0420I",
           "0420H"]
AMX_ALL = ["0402", "0804", "0202V"]

IO_FULL = {"DIN": DIN_ALL, "DOU": DOU_ALL, "DMX": DMX_ALL, "AIN": AIN_ALL, "AOU": AOU_ALL,
           "AMX": AMX_ALL}


def pick(pool, *drop):
    return [v for v in pool if v not in drop]


def module(cat, family, prefix, code, variant, group=None, en=None, fr=None, slots=None,
           placement=PLACE_ANY, type_=None):
    t, g = CODE_INFO[code]
    if en is None:
        en, fr = DESCRIBE[code](variant)
    if slots is None:
        slots = 2 if code == "MOT" and int(variant[:2]) >= 4 else 1
    return cat.add(Part(family, type_ or t, group or g, prefix + code + variant, slots=slots,
                        placement=placement, en=en, fr=fr))


def io_line(cat, family, prefix, pools, group=None):
    for code in ("DIN", "DOU", "DMX", "AIN", "AOU", "AMX"):
        for v in pools.get(code, []):
            module(cat, family, prefix, code, v, group=group)


def racks(cat, family, prefix, main, ext, family_text, caps_v02):
    for code, variants in (("RCK", main), ("RKX", ext)):
        for v in variants:
            caps = caps_v02 if v.endswith("02") else ""
            en, fr = desc_rack(int(v[:2]), code == "RCK", caps, family_text)
            t, g = CODE_INFO[code]
            cat.add(Part(family, t, g, prefix + code + v, slots=int(v[:2]), caps=caps,
                         en=en, fr=fr))


def power(cat, family, prefix, psu, psr):
    for v in psu:
        en, fr = desc_psu(v, False)
        cat.add(Part(family, "Power", "Standard", prefix + "PSU" + v, placement=PLACE_POWER,
                     en=en, fr=fr))
    for v in psr:
        en, fr = desc_psu(v, True)
        cat.add(Part(family, "Power", "Redundant", prefix + "PSR" + v, placement=PLACE_POWER,
                     caps="Redundant", en=en, fr=fr))


# Processor variants (docs/catalogue.md, "Processor variants"): generation,
# memory class, communication and ports, each one digit.
MEMORY_CLASSES = ["32 KB", "64 KB", "128 KB", "256 KB", "512 KB", "1 MB", "2 MB", "4 MB", "8 MB",
                  "16 MB"]


def kilobytes(mem: str) -> int:
    n, unit = mem.split()
    return int(n) * (1024 if unit == "MB" else 1)


def memory_class(mem: str) -> int:
    """The largest class not above the program memory (0 for less)."""
    fits = [i for i, m in enumerate(MEMORY_CLASSES) if kilobytes(m) <= kilobytes(mem)]
    return fits[-1] if fits else 0


def cpu_variant(gen: int, mem: str, feats, short=False) -> str:
    assert 1 <= gen <= 9
    comm = ("eth" in feats) + 2 * ("rio" in feats) + 4 * ("fld" in feats)
    ports = ("ser1" in feats) + 2 * ("ser2" in feats) + 3 * ("usb" in feats)
    digits = f"{gen}{memory_class(mem)}"
    return digits if short else f"{digits}{comm}{ports}"


def cpus(cat, family, stem, rows, hsb_parts=None, short=False):
    """rows: (generation, memory, features, hot standby)."""
    for gen, mem, feats, hsb in rows:
        en, fr = desc_cpu(mem, feats, hsb_parts if hsb else None)
        cat.add(Part(family, "CPU", "HotStandby" if hsb else "Standard",
                     stem + cpu_variant(gen, mem, feats, short), placement=PLACE_CPU,
                     caps="HsbCpu" if hsb else "", en=en, fr=fr))


def generation_cpus(cat, family, stem, family_text):
    """One placeholder per processor generation of a stem ("318CPU2xxx"): the
    names that the family's GenericCPUs patterns give for unknown processors."""
    gens = {}
    for p in cat.of(family=family, type_="CPU", prefix=stem):
        gens.setdefault(p.name[len(stem)], []).append(p)
    for gen, members in gens.items():
        width = len(members[0].name) - len(stem) - 1
        group = "HotStandby" if all(p.group == "HotStandby" for p in members) else "Standard"
        cat.add(Part(family, "CPU", group, stem + gen + "x" * width, placement=PLACE_CPU,
                     picklist=[p.name for p in members],
                     en=f"Any {family_text} processor of generation {gen} "
                        "(choose from the list)",
                     fr=f"Processeur {family_text} quelconque de génération {gen} "
                        "(choisir dans la liste)"))


def comm(cat, family, prefix, eth=(), ser=(), fld=()):
    for code, variants in (("ETH", eth), ("SER", ser), ("FLD", fld)):
        for v in variants:
            module(cat, family, prefix, code, v)


def rio(cat, family, prefix, head=(), drop=()):
    def medium(v):
        return ("fibre optic", "fibre optique") if v.startswith("03") else ("coaxial", "coaxial")

    for v in head:
        m_en, m_fr = medium(v)
        module(cat, family, prefix, "RIO", v, placement=PLACE_MAIN_RACK,
               en=f"Remote I/O head module, up to 31 drops, {m_en}",
               fr=f"Module tête d'E/S déportées, jusqu'à 31 stations, {m_fr}")
    for v in drop:
        medium_en, medium_fr = medium(v)
        module(cat, family, prefix, "RDA", v, placement=PLACE_REMOTE,
               en=f"Remote I/O drop adapter, {medium_en}, for the first rack of a remote drop",
               fr=f"Adaptateur de station d'E/S déportées, {medium_fr}, pour le premier "
                  "châssis d'une station déportée")


def extender(cat, family, prefix, variants=("0100",)):
    for v in variants:
        if v == "0100":
            en = "Backplane extender module, up to 3 extension racks, cable up to 3 m"
            fr = ("Module d'extension du fond de panier, jusqu'à 3 châssis d'extension, "
                  "câble jusqu'à 3 m")
        else:
            en = "Backplane extender module, long distance, cable up to 100 m"
            fr = "Module d'extension du fond de panier, longue distance, câble jusqu'à 100 m"
        module(cat, family, prefix, "XBE", v, placement=PLACE_EXTENDER, en=en, fr=fr)


def hot_standby(cat, family, prefix, variant):
    module(cat, family, prefix, "HSB", variant, placement=PLACE_MAIN_RACK,
           en="Hot-standby module, fibre link between the primary and the standby processor",
           fr="Module de redondance d'UC, liaison fibre entre l'UC primaire et l'UC de secours")


def accessories(cat, family, prefix, scv=True, trm=True, shk=True, con=True, bdl=()):
    if scv:
        cat.add(Part(family, "Other", "Accessories", prefix + "SCV0100",
                     en="Slot cover for an unused rack slot, pack of 5",
                     fr="Cache pour emplacement inutilisé du châssis, lot de 5"))
    if trm:
        for v in TEXTS_TRM:
            en, fr = TEXTS_TRM[v]
            cat.add(Part(family, "Other", "Terminal", prefix + "TRM" + v, en=en, fr=fr))
    if con:
        cat.add(Part(family, "QWA", "Terminal", prefix + "CON4000",
                     en="40-pin connector for pre-wired cables to a wiring adapter",
                     fr="Connecteur 40 points pour câbles précâblés vers une embase de câblage"))
    if shk:
        cat.add(Part(family, "Other", "Accessories", prefix + "SHK0100",
                     en="Shield connection kit for analog modules, clamps and bar",
                     fr="Kit de reprise de blindage pour modules analogiques, colliers et barre"))
    for v, en, fr in bdl:
        cat.add(Part(family, "Bundle", "Common", prefix + "BDL" + v, en=en, fr=fr))


BDL_EXTENDER = ("0100", "Backplane extender kit: two extender modules and connecting cable",
                "Kit d'extension du fond de panier : deux modules d'extension et câble de liaison")
BDL_HSB = ("0200", "Hot-standby kit: two hot-standby modules and fibre cable",
           "Kit de redondance d'UC : deux modules de redondance et câble fibre")


def generic_cpu(cat, family, name, choices, family_text):
    cat.add(Part(family, "CPU", "Standard", name, placement=PLACE_CPU,
                 picklist=[p.name for p in choices],
                 en=f"Any {family_text} processor (choose from the list)",
                 fr=f"Processeur {family_text} quelconque (choisir dans la liste)"))


def generic_rack(cat, family, choices, family_text):
    cat.add(Part(family, "Rack", "Main", "genericRack" + family,
                 picklist=[p.name for p in choices],
                 en=f"Any rack of the {family_text} family (choose from the list)",
                 fr=f"Châssis quelconque de la famille {family_text} (choisir dans la liste)"))


def placeholder(cat, family, name):
    """A module name with lower-case "x" digits; its candidates are the
    family's modules that it matches with each "x" standing for one character."""
    pattern = re.compile("^" + name.replace("x", ".") + "$")
    choices = [p.name for p in cat.of(family=family, type_="Module") if pattern.match(p.name)]
    first = cat.get(choices[0])
    n = int(name[6:8])
    cat.add(Part(family, first.type, first.group, name, picklist=choices,
                 en=f"{first.en.split(',')[0]}, {n} channels, model not known "
                    "(choose from the list)",
                 fr=f"{first.fr.split(',')[0]}, {n} voies, modèle à préciser "
                    "(choisir dans la liste)"))


def numeric_legacy(cat, family, rows):
    """Legacy numeric parts still carried for service: (number, successor)."""
    for number, successor in rows:
        s = cat.get(successor)
        en, fr = legacy_texts(s)
        cat.add(Part(family, s.type, s.group, number, slots=s.slots, placement=s.placement,
                     caps=s.caps, en=en, fr=fr))


# ---------------------------------------------------------------------------
# The maker's families.

def build_raven(cat):
    fam = "Raven"
    cat.comment("' ==== Raven: racks, power and I/O shared by Lark and Osprey ====")
    cat.comment("' Racks and Verdant chassis", blank_before=False)
    racks(cat, fam, "RVN", ["0401", "0402", "0601", "0602", "0801", "0802", "1001", "1201",
                            "1202"], ["0401", "0601", "0801", "1001", "1201"],
          "Raven", "2PowerSlots")
    for n, caps in (("04", ""), ("06", "2PowerSlots"), ("08", "2PowerSlots"),
                    ("12", "2PowerSlots")):
        en, fr = desc_rack(int(n), True, caps, "Raven")
        cat.add(Part(fam, "Rack", "Main", "VRDCH" + n, slots=int(n), caps=caps,
                     en="Verdant chassis" + en[len("Main rack"):] + ", migration chassis",
                     fr="Châssis Verdant" + fr[len("Châssis principal"):] +
                        ", châssis de migration"))
    generic_rack(cat, fam, cat.of(family=fam, type_="Rack"), "Raven")
    cat.comment("' Power supplies")
    power(cat, fam, "RVN", ["0324D", "0524D", "0324A", "0524A", "0812A", "0823A", "0548D"],
          ["0524D", "0524A", "0823A"])
    cat.comment("' Discrete and analog I/O")
    io_line(cat, fam, "RVN", IO_FULL)
    cat.comment("' Communication, remote I/O, extension")
    comm(cat, fam, "RVN", eth=["0100", "0200", "0300", "0400"], ser=["0100", "0200", "0400"],
         fld=["0100", "0200", "0300"])
    rio(cat, fam, "RVN", drop=["0200", "0300"])
    extender(cat, fam, "RVN", ["0100", "0200"])
    cat.comment("' Counters, motion, special")
    for v in ["0220", "0240", "0410", "0860", "02500", "04200"]:
        module(cat, fam, "RVN", "CNT", v)
    for v in ["0100", "0200", "0400", "0800", "0401"]:
        module(cat, fam, "RVN", "MOT", v)
    for v in ["0100", "0200", "0300", "0400", "0500", "0600"]:
        module(cat, fam, "RVN", "SPC", v)
    cat.comment("' Accessories")
    accessories(cat, fam, "RVN", bdl=[BDL_EXTENDER])
    cat.comment("' Names with placeholder digits")
    for name in ("RVNDIN16xx", "RVNDOU16xxT", "RVNAIN08xx", "RVNAOU04xxx"):
        placeholder(cat, fam, name)


def build_lark(cat):
    fam = "Lark"
    cat.comment("' ==== Lark: processors and Lark-only modules (I/O in the Raven section) ====")
    rows = [(1, "64 KB", ["ser1"], False),
            (1, "128 KB", ["ser2"], False),
            (1, "256 KB", ["eth", "ser1"], False),
            (1, "256 KB", ["eth", "ser2", "card"], False),
            (2, "512 KB", ["eth", "ser1", "card"], False),
            (2, "1 MB", ["eth", "ser2", "card"], False),
            (2, "2 MB", ["eth", "ser2", "rio", "card"], False),
            (2, "2 MB", ["eth", "ser2", "rio", "fld", "card"], False),
            (2, "4 MB", ["eth", "usb", "rio", "fld", "float", "card"], False)]
    cpus(cat, fam, "LKXCPU", rows)
    generic_cpu(cat, fam, "LKXCPU*", cat.of(family=fam, type_="CPU"), "Lark")
    generation_cpus(cat, fam, "LKXCPU", "Lark")
    comm(cat, fam, "LKX", eth=["0100", "0200"], ser=["0200"])
    for v in ["0128", "0512", "2048"]:
        en, fr = TEXTS_MEM[v]
        cat.add(Part(fam, "Other", "Memory", "LKXMEM" + v, en=en, fr=fr))
    generic_rack(cat, fam, cat.of(family="Raven", type_="Rack", prefix="RVN"), "Lark")


def build_osprey(cat):
    fam = "Osprey"
    cat.comment("' ==== Osprey: processors and Osprey-only modules (I/O in the Raven section) ====")
    hsb = ["OSPHSB0100", "CBLFIB0030"]
    cpus(cat, fam, "OSPE58", [(1, "512 KB", ["eth", "usb"], False),
                              (1, "1 MB", ["eth", "usb", "card"], False),
                              (2, "2 MB", ["eth", "usb", "card"], False),
                              (2, "4 MB", ["eth", "usb", "rio", "card"], False),
                              (3, "8 MB", ["eth", "usb", "rio", "fld", "card"], False),
                              (3, "16 MB", ["eth", "usb", "rio", "fld", "float", "card"], False)])
    cpus(cat, fam, "OSPS58", [(1, "256 KB", ["usb", "ser1"], False),
                              (1, "512 KB", ["usb", "ser2"], False),
                              (2, "1 MB", ["usb", "ser2", "card"], False),
                              (2, "2 MB", ["usb", "ser2", "card"], False)])
    cpus(cat, fam, "OSPH58", [(1, mem, ["eth", "usb", "rio", "card"], True)
                              for mem in ("4 MB", "8 MB", "16 MB")], hsb_parts=hsb)
    # One placeholder per line: the four digits of an unknown model.
    for letter, what, what_fr in (("E", "Ethernet", "Ethernet"), ("S", "standard", "standard"),
                                  ("H", "hot-standby", "redondant")):
        cat.add(Part(fam, "CPU", "HotStandby" if letter == "H" else "Standard",
                     f"OSP{letter}58xxxx", placement=PLACE_CPU,
                     picklist=[p.name for p in cat.of(family=fam, type_="CPU",
                                                      prefix=f"OSP{letter}58")],
                     en=f"Any Osprey {what} processor (choose from the list)",
                     fr=f"Processeur Osprey {what_fr} quelconque "
                        "(choisir dans la liste)"))
    rio(cat, fam, "OSP", head=["0200"], drop=["0200"])
    hot_standby(cat, fam, "OSP", "0100")
    comm(cat, fam, "OSP", eth=["0100", "0200", "0300"], fld=["0100", "0300"])
    for v in ["0400", "0800", "1600"]:
        module(cat, fam, "OSP", "MOT", v)
    module(cat, fam, "OSP", "SPC", "0500")
    accessories(cat, fam, "OSP", scv=False, trm=False, shk=False, con=False, bdl=[BDL_HSB])
    generic_rack(cat, fam, cat.of(family="Raven", type_="Rack", prefix="RVN"), "Osprey")


def build_kestrel(cat):
    fam = "Kestrel"
    cat.comment("' ==== Kestrel ====")
    cat.comment("' Racks", blank_before=False)
    racks(cat, fam, "318", ["0401", "0601", "0602", "0801", "0802", "1001", "1201", "1601",
                            "1602"], ["0401", "0601", "0801", "1001", "1201", "1601"],
          "Kestrel", "2PowerSlots")
    generic_rack(cat, fam, cat.of(family=fam, type_="Rack"), "Kestrel")
    cat.comment("' Processors")
    # Generation 5 is the hot-standby line.
    rows = [(1, "96 KB", ["ser1"], False),
            (1, "128 KB", ["ser2"], False),
            (1, "192 KB", ["ser2", "rio"], False),
            (1, "256 KB", ["ser2", "rio"], False),
            (2, "512 KB", ["eth", "ser1", "card"], False),
            (2, "768 KB", ["eth", "ser2", "card"], False),
            (2, "1 MB", ["eth", "ser2", "rio", "card"], False),
            (3, "1 MB", ["eth", "ser1", "float", "card"], False),
            (3, "2 MB", ["eth", "ser2", "float", "card"], False),
            (3, "2 MB", ["eth", "ser2", "rio", "float", "card"], False),
            (3, "4 MB", ["eth", "ser2", "rio", "fld", "float", "card"], False),
            (4, "4 MB", ["eth", "usb", "rio", "float", "card"], False),
            (4, "8 MB", ["eth", "usb", "rio", "fld", "float", "card"], False),
            (4, "8 MB", ["eth", "usb", "fld", "float"], False),
            (5, "8 MB", ["eth", "usb", "rio", "float", "card"], True),
            (5, "16 MB", ["eth", "usb", "rio", "float", "card"], True),
            (5, "16 MB", ["eth", "usb", "rio", "fld", "float", "card"], True)]
    cpus(cat, fam, "318CPU", rows, hsb_parts=["318HSB1100", "CBLFIB0030"])
    generic_cpu(cat, fam, "318CPU*", cat.of(family=fam, type_="CPU"), "Kestrel")
    generation_cpus(cat, fam, "318CPU", "Kestrel")
    cat.comment("' Power supplies")
    power(cat, fam, "318", ["0812A", "0823A", "0824D", "0424D", "1124A", "0848D", "0825D"],
          ["0824D", "0812A", "0848D"])
    cat.comment("' Discrete and analog I/O")
    io_line(cat, fam, "318", IO_FULL)
    cat.comment("' Communication, remote I/O, hot standby, extension")
    comm(cat, fam, "318", eth=["0100", "0200", "0300", "0400"], ser=["0100", "0200", "0400"],
         fld=["0100", "0200"])
    rio(cat, fam, "318", head=["0200", "0300"], drop=["0200", "0300"])
    hot_standby(cat, fam, "318", "1100")
    hot_standby(cat, fam, "318", "1200")
    extender(cat, fam, "318", ["0100", "0200"])
    cat.comment("' Counters, motion, special")
    for v in ["0220", "0240", "0410", "0860", "02500"]:
        module(cat, fam, "318", "CNT", v)
    for v in ["0100", "0200", "0400", "0800"]:
        module(cat, fam, "318", "MOT", v)
    for v in ["0100", "0200", "0300", "0500", "0700", "0800"]:
        module(cat, fam, "318", "SPC", v)
    cat.comment("' Memory and accessories")
    for v in ["0128", "0512", "2048"]:
        en, fr = TEXTS_MEM[v]
        cat.add(Part(fam, "Other", "Memory", "318MEM" + v, en=en, fr=fr))
    accessories(cat, fam, "318", bdl=[BDL_EXTENDER, BDL_HSB])

    cat.comment("' Kestrel distributed I/O (319), group DIO")
    dio = {"DIN": ["0824", "1624", "3224", "1612A", "1623A", "0424F"],
           "DOU": ["0824T", "1624T", "3224T", "0824R", "1624R", "1612A"],
           "DMX": ["0808", "1616", "1608R"],
           "AIN": ["0820", "0410V", "04TC", "04RT", "0420H"],
           "AOU": ["0220", "0410V", "0420I"]}
    for code, variants in dio.items():
        for v in variants:
            en, fr = DESCRIBE[code](v)
            module(cat, fam, "319", code, v, group="DIO",
                   en=en.replace(" module", " block", 1) + ", IP20 distributed I/O",
                   fr=fr.replace("Module", "Bloc", 1) + ", E/S décentralisées IP20")
    for v, en, fr in (("0100", "DIO drop adapter, twisted pair, up to 32 blocks per drop",
                       "Adaptateur de station DIO, paire torsadée, jusqu'à 32 blocs par station"),
                      ("0200", "DIO drop adapter, Ethernet, two ports, up to 64 blocks",
                       "Adaptateur de station DIO, Ethernet, deux ports, jusqu'à 64 blocs")):
        module(cat, fam, "319", "RDA", v, placement=PLACE_REMOTE, en=en, fr=fr)
    power(cat, fam, "319", ["0224D", "0424D"], [])

    cat.comment("' Legacy numeric parts (8120 racks and power, 8121 discrete, 8122 analog)")
    numeric_legacy(cat, fam, [("812010006", "318RCK0601"), ("812010008", "318RCK0801"),
                              ("812012008", "318PSU0812A"), ("812113016", "318DIN1624"),
                              ("812113032", "318DIN3224"), ("812114016", "318DOU1624T"),
                              ("812114032", "318DOU3224T"), ("812114108", "318DOU0824R"),
                              ("812216008", "318AIN0820"), ("812217004", "318AOU0420I"),
                              ("812219002", "318CNT0240")])
    cat.comment("' Names with placeholder digits")
    for name in ("318DIN16xx", "318DOU16xxT", "318AIN08xx", "318AIN04xx", "319DIN16xxA"):
        placeholder(cat, fam, name)


def build_garnet(cat):
    fam = "GarnetSeries"
    cat.comment("' ==== GarnetSeries ====")
    racks(cat, fam, "GRS", ["0401", "0601", "0602", "1001", "1002", "1401"],
          ["0601", "1001", "1401"], "GarnetSeries", "ChassisWithRack")
    generic_rack(cat, fam, cat.of(family=fam, type_="Rack"), "GarnetSeries")
    rows = [(1, "32 KB", ["ser1"], False), (1, "64 KB", ["ser1"], False),
            (1, "64 KB", ["ser2"], False), (1, "128 KB", ["ser2"], False),
            (2, "128 KB", ["ser2", "rio"], False),
            (2, "256 KB", ["eth", "ser2", "rio"], False),
            (2, "512 KB", ["eth", "ser2", "rio", "card"], False),
            (3, "1 MB", ["eth", "ser2", "rio", "card"], False),
            (3, "2 MB", ["eth", "ser2", "rio", "fld", "card"], False),
            (3, "4 MB", ["eth", "usb", "rio", "fld", "float", "card"], False)]
    cpus(cat, fam, "GRSCPU", rows)
    generic_cpu(cat, fam, "GRSCPU*", cat.of(family=fam, type_="CPU"), "GarnetSeries")
    generation_cpus(cat, fam, "GRSCPU", "GarnetSeries")
    power(cat, fam, "GRS", ["0324A", "0324D", "0612A", "0623A", "0624D"], ["0624D"])
    io_line(cat, fam, "GRS", {"DIN": pick(DIN_ALL, "6424", "1605"),
                              "DOU": pick(DOU_ALL, "6424T"),
                              "DMX": pick(DMX_ALL, "2416R"),
                              "AIN": pick(AIN_ALL, "0805V"),
                              "AOU": AOU_ALL, "AMX": ["0402", "0804"]})
    comm(cat, fam, "GRS", eth=["0100", "0200"], ser=["0100", "0200"], fld=["0100"])
    rio(cat, fam, "GRS", head=["0200"], drop=["0200", "0300"])
    extender(cat, fam, "GRS")
    for v in ["0220", "0240", "0410"]:
        module(cat, fam, "GRS", "CNT", v)
    for v in ["0100", "0200", "0400"]:
        module(cat, fam, "GRS", "MOT", v)
    for v in ["0100", "0200", "0300", "0600"]:
        module(cat, fam, "GRS", "SPC", v)
    accessories(cat, fam, "GRS", bdl=[BDL_EXTENDER])
    cat.comment("' Legacy numeric parts (4410 DC line, 4411 AC and analog line)")
    numeric_legacy(cat, fam, [("441010006", "GRSRCK0601"), ("441012003", "GRSPSU0324D"),
                              ("441013016", "GRSDIN1624"), ("441013032", "GRSDIN3224"),
                              ("441014016", "GRSDOU1624T"), ("441014032", "GRSDOU3224T"),
                              ("441113016", "GRSDIN1612A"), ("441114016", "GRSDOU1612A"),
                              ("441116008", "GRSAIN0820"), ("441117008", "GRSAOU0820")])
    for name in ("GRSDIN16xx", "GRSAIN04xx"):
        placeholder(cat, fam, name)


def build_wren(cat):
    fam = "Wren"
    cat.comment("' ==== Wren ====")
    racks(cat, fam, "WRN", ["0301", "0302", "0501", "0502", "0801", "0802"],
          ["0301", "0501", "0801"], "Wren", "ChassisWithRack")
    generic_rack(cat, fam, cat.of(family=fam, type_="Rack"), "Wren")
    rows = [(1, "16 KB", ["ser1"], False), (1, "64 KB", ["ser1"], False),
            (1, "64 KB", ["ser2"], False), (2, "128 KB", ["ser2"], False),
            (2, "256 KB", ["eth", "ser1"], False),
            (2, "512 KB", ["eth", "ser2", "card"], False)]
    cpus(cat, fam, "WRNCPU", rows)
    generic_cpu(cat, fam, "WRNCPU*", cat.of(family=fam, type_="CPU"), "Wren")
    generation_cpus(cat, fam, "WRNCPU", "Wren")
    power(cat, fam, "WRN", ["0224D", "0424D", "0212A", "0223A"], [])
    io_line(cat, fam, "WRN", {"DIN": pick(DIN_ALL, "6424", "1625", "0848D"),
                              "DOU": pick(DOU_ALL, "6424T", "1625T"),
                              "DMX": ["0808", "1616", "1608R"],
                              "AIN": pick(AIN_ALL, "1610V", "0420H"),
                              "AOU": pick(AOU_ALL, "0420H"), "AMX": ["0402"]})
    comm(cat, fam, "WRN", eth=["0100"], ser=["0100", "0200"])
    extender(cat, fam, "WRN")
    for v in ["0220", "0410"]:
        module(cat, fam, "WRN", "CNT", v)
    for v in ["0100", "0200"]:
        module(cat, fam, "WRN", "MOT", v)
    module(cat, fam, "WRN", "SPC", "0300")
    accessories(cat, fam, "WRN", bdl=[BDL_EXTENDER])
    cat.comment("' A-Line: legacy numeric I/O (5230 discrete, 5231 analog)")
    for number, successor in [("523013008", "WRNDIN0824"), ("523013016", "WRNDIN1624"),
                              ("523013116", "WRNDIN1612A"), ("523014008", "WRNDOU0824T"),
                              ("523014016", "WRNDOU1624T"), ("523014108", "WRNDOU0824R"),
                              ("523116004", "WRNAIN0420I"), ("523116008", "WRNAIN0820"),
                              ("523117002", "WRNAOU0220")]:
        s = cat.get(successor)
        en, fr = legacy_texts(s)
        cat.add(Part(fam, s.type, "A-Line", number, en=en, fr=fr))
    for name in ("WRNDIN16xx", "WRNDOU16xxT"):
        placeholder(cat, fam, name)


def build_sorrel(cat):
    fam = "Sorrel"
    cat.comment("' ==== Sorrel ====")
    racks(cat, fam, "SRL", ["0401", "0601", "0801", "0802", "1201"], ["0601", "0801", "1201"],
          "Sorrel", "ChassisWithRack")
    generic_rack(cat, fam, cat.of(family=fam, type_="Rack"), "Sorrel")
    rows = [(1, "64 KB", ["ser1"], False), (1, "128 KB", ["ser2"], False),
            (1, "256 KB", ["ser2", "rio"], False),
            (2, "512 KB", ["eth", "ser1"], False),
            (2, "1 MB", ["eth", "ser2", "card"], False),
            (2, "2 MB", ["eth", "ser2", "rio", "card"], False)]
    cpus(cat, fam, "SRLCPU", rows)
    generic_cpu(cat, fam, "SRLCPU*", cat.of(family=fam, type_="CPU"), "Sorrel")
    generation_cpus(cat, fam, "SRLCPU", "Sorrel")
    power(cat, fam, "SRL", ["0324A", "0324D", "0623A", "0624D"], ["0624D"])
    io_line(cat, fam, "SRL", {"DIN": pick(DIN_ALL, "1605", "1625"),
                              "DOU": pick(DOU_ALL, "1625T"),
                              "DMX": ["0808", "1616", "3232"],
                              "AIN": pick(AIN_ALL, "0805V"),
                              "AOU": pick(AOU_ALL, "1620"), "AMX": ["0402", "0202V"]})
    comm(cat, fam, "SRL", eth=["0100", "0200"], ser=["0200"], fld=["0100"])
    rio(cat, fam, "SRL", head=["0200"], drop=["0200"])
    extender(cat, fam, "SRL")
    for v in ["0240", "0410"]:
        module(cat, fam, "SRL", "CNT", v)
    for v in ["0100", "0200", "0400"]:
        module(cat, fam, "SRL", "MOT", v)
    for v in ["0200", "0300"]:
        module(cat, fam, "SRL", "SPC", v)
    accessories(cat, fam, "SRL", bdl=[BDL_EXTENDER])
    cat.comment("' Legacy numeric parts (6640 discrete, 6641 analog and others)")
    numeric_legacy(cat, fam, [("664013016", "SRLDIN1624"), ("664013032", "SRLDIN3224"),
                              ("664014016", "SRLDOU1624T"), ("664014032", "SRLDOU3224T"),
                              ("664015008", "SRLDMX0808"), ("664116008", "SRLAIN0820"),
                              ("664117004", "SRLAOU0420I"), ("664119002", "SRLCNT0240")])
    for name in ("SRLAIN08xx", "SRLDOU16xxT"):
        placeholder(cat, fam, name)


def build_heron(cat):
    fam = "Heron"
    cat.comment("' ==== Heron ====")
    cat.comment("' Racks: plain ones (RCK) and extendable ones (RKX ... EX)", blank_before=False)
    for n in ("04", "06", "08", "12"):
        for code, ex in (("RCK", ""), ("RKX", "EX")):
            en, fr = desc_rack(int(n), True, "", "Heron", extendable=bool(ex))
            cat.add(Part(fam, "Rack", "Main", "HRN" + code + n + ex, slots=int(n), en=en, fr=fr))
    generic_rack(cat, fam, cat.of(family=fam, type_="Rack"), "Heron")
    cat.comment("' Processors")
    cpus(cat, fam, "BRISK57-", [(1, "96 KB", ["ser1"], False),
                                (1, "128 KB", ["ser1"], False),
                                (1, "192 KB", ["ser2"], False),
                                (2, "256 KB", ["ser2"], False),
                                (2, "384 KB", ["eth", "ser1"], False),
                                (2, "512 KB", ["eth", "ser2"], False),
                                (3, "768 KB", ["eth", "ser2", "card"], False),
                                (3, "1 MB", ["eth", "ser2", "card"], False),
                                (3, "2 MB", ["eth", "ser2", "rio", "card"], False),
                                (4, "2 MB", ["eth", "ser2", "rio", "card"], False),
                                (4, "4 MB", ["eth", "usb", "rio", "fld", "card"], False),
                                (4, "8 MB", ["eth", "usb", "rio", "fld", "float", "card"], False)])
    cpus(cat, fam, "BRISKP57-", [(2, "384 KB", ["fld", "ser1"], False),
                                 (3, "768 KB", ["fld", "eth", "ser1"], False),
                                 (4, "2 MB", ["fld", "eth", "rio", "card"], False),
                                 (4, "8 MB", ["fld", "eth", "usb", "rio", "card"], False)])
    cpus(cat, fam, "BRISKH57-", [(4, mem, ["eth", "usb", "rio", "card"], True)
                                 for mem in ("4 MB", "8 MB", "16 MB")],
         hsb_parts=["HRNBDL0200"])
    # PC-card and bus-card processors: generation and memory class only.
    for stem, rows in (("HRNPCX57", [(1, "1 MB", ["pci", "eth"]),
                                     (2, "2 MB", ["pci", "eth", "fld"])]),
                       ("HRNPCY57", [(1, "1 MB", ["pci", "eth", "ser1"]),
                                     (2, "4 MB", ["pci", "eth", "fld", "float"])]),
                       ("HRNBCX57", [(1, "1 MB", ["bus", "ser1"]),
                                     (2, "2 MB", ["bus", "eth"])])):
        cpus(cat, fam, stem, [(g, m, f, False) for g, m, f in rows], short=True)
    generic_cpu(cat, fam, "BRISK57-*", cat.of(family=fam, type_="CPU"), "Heron")
    generation_cpus(cat, fam, "BRISK57-", "Heron")
    cat.comment("' Power supplies")
    power(cat, fam, "HRN", ["0624A", "0324D", "0624D", "1024A", "0623A", "1024D"],
          ["0624D", "1024A"])
    cat.comment("' I/O")
    io_line(cat, fam, "HRN", {"DIN": DIN_ALL, "DOU": DOU_ALL, "DMX": pick(DMX_ALL, "3232"),
                              "AIN": AIN_ALL, "AOU": AOU_ALL, "AMX": AMX_ALL})
    cat.comment("' Counters (two slots wide), motion, special")
    for v in ["0220", "0240A", "0240B", "0410", "0860", "02500"]:
        module(cat, fam, "HRN", "CNT", v, slots=2)
    cat.add(Part(fam, "Module", "Counter", "HRNCNT0240", slots=2,
                 picklist=["HRNCNT0240A", "HRNCNT0240B"],
                 en="High-speed counter module, 2 channels 40 kHz, input version not known "
                    "(choose from the list)",
                 fr="Module de comptage rapide, 2 voies 40 kHz, version des entrées inconnue "
                    "(choisir dans la liste)"))
    for v in ["0100", "0201", "0202", "0400", "0800"]:
        module(cat, fam, "HRN", "MOT", v)
    cat.add(Part(fam, "Module", "Motion", "HRNMOT0200", picklist=["HRNMOT0201", "HRNMOT0202"],
                 en="Motion control module, 2 axes, version not known (choose from the list)",
                 fr="Module de commande d'axes, 2 axes, version inconnue "
                    "(choisir dans la liste)"))
    for v in ["0100", "0200", "0300", "0400", "0600"]:
        module(cat, fam, "HRN", "SPC", v)
    extender(cat, fam, "HRN", ["0100", "0200"])
    cat.comment("' Communication (HRC)")
    comm(cat, fam, "HRC", eth=["0100", "0200", "0300"], ser=["0100", "0200"],
         fld=["0100", "0200", "0300"])
    rio(cat, fam, "HRC", head=["0200"], drop=["0200", "0300"])
    hot_standby(cat, fam, "HRN", "0100")
    cat.comment("' Accessories")
    accessories(cat, fam, "HRN", bdl=[BDL_EXTENDER, BDL_HSB])
    for name in ("HRNDIN16xx", "HRNAIN04xx", "HRNDOU08xxR"):
        placeholder(cat, fam, name)


def build_briskfinch(cat):
    fam = "BriskFinch"
    cat.comment("' ==== BriskFinch processors (Heron racks and I/O) ====")
    cpus(cat, fam, "BRISK37-", [(1, "64 KB", ["ser1"], False),
                                (1, "128 KB", ["ser2"], False),
                                (2, "256 KB", ["eth", "ser1"], False),
                                (2, "512 KB", ["eth", "ser2", "card"], False)])
    generic_cpu(cat, fam, "BRISK37-*", cat.of(family=fam, type_="CPU"), "BriskFinch")
    generic_rack(cat, fam, cat.of(family="Heron", type_="Rack"), "BriskFinch")


def build_brisk7(cat):
    fam = "Brisk7"
    cat.comment("' ==== Brisk7 ====")
    cat.comment("' Racks", blank_before=False)
    racks(cat, fam, "BRK", ["0401", "0801", "0802", "1201"], ["0801", "1201"], "Brisk7",
          "ChassisWithRack")
    generic_rack(cat, fam, cat.of(family=fam, type_="Rack"), "Brisk7")
    cat.comment("' Processors")
    cpus(cat, fam, "PMK", [(1, "32 KB", ["ser1"], False), (2, "64 KB", ["ser1"], False),
                           (2, "128 KB", ["ser2"], False), (3, "256 KB", ["ser2"], False),
                           (3, "512 KB", ["eth", "ser1", "card"], False),
                           (4, "1 MB", ["eth", "ser2", "card"], False),
                           (4, "2 MB", ["eth", "ser2", "fld", "card"], False)])
    generic_cpu(cat, fam, "PMK*", cat.of(family=fam, type_="CPU"), "Brisk7")
    cat.comment("' Power supplies")
    power(cat, fam, "BRK", ["0324A", "0624A", "0324D", "0624D"], ["0624D"])
    cat.comment("' Modules; the first 59 take the Skein-3 type codes 0x01 to 0x3B in this order")
    io_line(cat, fam, "BRK", IO_FULL)
    comm(cat, fam, "BRK", eth=["0100", "0200", "0300"], ser=["0100", "0200", "0400"],
         fld=["0100", "0200", "0300"])
    extender(cat, fam, "BRK", ["0100", "0200"])
    cat.comment("' Intelligent modules: special (Skein-3 code 0x3E), counters and motion (0x3F)")
    for v in ["0100", "0200", "0300", "0400", "0500", "0600", "0700", "0800"]:
        module(cat, fam, "BRK", "SPC", v)
    module(cat, fam, "BRK", "SPC", "0900",
           en='Interface module "Bus coupler", links two Brisk7 systems, 256 words',
           fr='Module d\'interface "Bus coupler", relie deux systèmes Brisk7, 256 mots')
    for v in ["0220", "0240", "0410", "0860", "02500", "04200", "0820"]:
        module(cat, fam, "BRK", "CNT", v)
    for v in ["0100", "0101", "0200", "0201", "0202", "0400", "0401", "0402", "0800",
              "0801", "0802", "1200"]:
        module(cat, fam, "BRK", "MOT", v)
    cat.comment("' Memory cards, batteries, programming adapters, accessories")
    for v, en, fr in (("0064", "Memory card, 64 KB EEPROM", "Carte mémoire 64 Ko EEPROM"),
                      ("0128", "Memory card, 128 KB EEPROM", "Carte mémoire 128 Ko EEPROM"),
                      ("0256", "Memory card, 256 KB flash", "Carte mémoire 256 Ko flash"),
                      ("0512", "Memory card, 512 KB flash", "Carte mémoire 512 Ko flash")):
        cat.add(Part(fam, "Other", "Memory", "BRKMEM" + v, en=en, fr=fr))
    for v, en, fr in (("0001", "Backup battery, lithium 3.6 V, for processors",
                       "Pile de sauvegarde lithium 3,6 V pour processeurs"),
                      ("0002", "Backup battery pack, lithium 3.6 V, for racks with clock",
                       "Bloc de piles de sauvegarde lithium 3,6 V pour châssis avec horloge")):
        cat.add(Part(fam, "Other", "Memory", "BRKBAT" + v, en=en, fr=fr))
    for v, en, fr in (("0001", "Programming port adapter, RS-232",
                       "Adaptateur de port de programmation RS-232"),
                      ("0002", "Programming port adapter, USB",
                       "Adaptateur de port de programmation USB")):
        cat.add(Part(fam, "Other", "Accessories", "BRKPRG" + v, en=en, fr=fr))
    accessories(cat, fam, "BRK", bdl=[BDL_EXTENDER])
    cat.comment("' Names with placeholder digits")
    for name in ("BRKAIN04xx", "BRKDIN16xx", "BRKDOU16xxT", "BRKAOU04xxx", "BRKDIN08xxx"):
        placeholder(cat, fam, name)


def build_plover(cat):
    fam = "Plover"
    cat.comment("' ==== Plover ====")
    cat.comment("' Racks, processors, power and communication (077)", blank_before=False)
    racks(cat, fam, "077", ["0401", "0601", "0801", "0802", "1201"], ["0601", "0801", "1201"],
          "Plover", "ChassisWithRack")
    generic_rack(cat, fam, cat.of(family=fam, type_="Rack"), "Plover")
    cpus(cat, fam, "077PRC", [(1, "64 KB", ["ser1"], False),
                              (1, "128 KB", ["ser2"], False),
                              (2, "256 KB", ["eth", "ser1"], False),
                              (2, "512 KB", ["eth", "ser2"], False),
                              (2, "1 MB", ["eth", "ser2", "card"], False),
                              (3, "2 MB", ["eth", "usb", "rio", "card"], False),
                              (3, "4 MB", ["eth", "usb", "rio", "fld", "card"], False)])
    generic_cpu(cat, fam, "077PRC*", cat.of(family=fam, type_="CPU"), "Plover")
    power(cat, fam, "077", ["0324A", "0624A", "0324D", "0624D"], ["0624D"])
    comm(cat, fam, "077", eth=["0100", "0200", "0300"], ser=["0100", "0200"],
         fld=["0100", "0300"])
    rio(cat, fam, "077", head=["0200"], drop=["0200"])
    extender(cat, fam, "077")
    accessories(cat, fam, "077", trm=False, shk=False, con=False, bdl=[BDL_EXTENDER])
    cat.comment("' I/O (07V)")
    io_line(cat, fam, "07V", {"DIN": pick(DIN_ALL, "1625", "0848D"),
                              "DOU": pick(DOU_ALL, "1625T", "6424T"),
                              "DMX": DMX_ALL, "AIN": AIN_ALL, "AOU": AOU_ALL,
                              "AMX": ["0402", "0804"]})
    for v in ["0220", "0240", "0410", "02500"]:
        module(cat, fam, "07V", "CNT", v)
    for v in ["0100", "0200", "0400"]:
        module(cat, fam, "07V", "MOT", v)
    for v in ["0200", "0300", "0500"]:
        module(cat, fam, "07V", "SPC", v)
    accessories(cat, fam, "07V", scv=False)
    cat.comment("' Legacy numeric parts (9350)")
    numeric_legacy(cat, fam, [("935010006", "077RCK0601"), ("935012003", "077PSU0324A"),
                              ("935013016", "07VDIN1624"), ("935014016", "07VDOU1624T"),
                              ("935016008", "07VAIN0820"), ("935017004", "07VAOU0420I")])
    for name in ("07VDIN16xx", "07VAIN08xx"):
        placeholder(cat, fam, name)


def build_nonspecific(cat):
    fam = "NonSpecific"
    cat.comment("' ==== Accessories, cables and services of every family ====")
    for name, en, fr in (
            ("ACCRAL0035", "Mounting rail 35 mm, length 2 m",
             "Rail de montage 35 mm, longueur 2 m"),
            ("ACCLBL0100", "Label sheets for module fronts, pack of 10",
             "Planches d'étiquettes pour faces avant, lot de 10"),
            ("ACCFAN0100", "Fan tray for racks, 24 V DC",
             "Tiroir de ventilation pour châssis, 24 V CC"),
            ("ACCGND0100", "Grounding kit for racks and cabinets",
             "Kit de mise à la terre pour châssis et armoires"),
            ("ACCENC0600", "Wall-mounting enclosure for racks up to 6 slots, IP54",
             "Coffret mural pour châssis jusqu'à 6 emplacements, IP54"),
            ("ACCSIM1600", "Input simulator, 16 switches, 24 V DC",
             "Simulateur d'entrées, 16 interrupteurs, 24 V CC")):
        cat.add(Part(fam, "Other", "Accessories", name, en=en, fr=fr))
    for name, en, fr in (
            ("ACCQWA1600", "Wiring adapter, 16 channels, screw terminals, for 20-pin cables",
             "Embase de câblage 16 voies, bornes à vis, pour câbles 20 points"),
            ("ACCQWA3200", "Wiring adapter, 32 channels, screw terminals, for 40-pin cables",
             "Embase de câblage 32 voies, bornes à vis, pour câbles 40 points"),
            ("ACCQWA3201", "Wiring adapter, 32 channels with relays, for 40-pin cables",
             "Embase de câblage 32 voies à relais, pour câbles 40 points")):
        cat.add(Part(fam, "QWA", "Terminal", name, en=en, fr=fr))
    cables = [("FIB0030", "Fibre-optic cable, duplex, 3 m", "Câble fibre optique duplex, 3 m"),
              ("FIB0100", "Fibre-optic cable, duplex, 10 m", "Câble fibre optique duplex, 10 m"),
              ("FIB0500", "Fibre-optic cable, duplex, 50 m", "Câble fibre optique duplex, 50 m"),
              ("COP0005", "Backplane extension cable, 0.5 m",
               "Câble d'extension du fond de panier, 0,5 m"),
              ("COP0010", "Backplane extension cable, 1 m",
               "Câble d'extension du fond de panier, 1 m"),
              ("COP0030", "Backplane extension cable, 3 m",
               "Câble d'extension du fond de panier, 3 m"),
              ("ETH0020", "Ethernet patch cable, shielded, 2 m",
               "Cordon Ethernet blindé, 2 m"),
              ("ETH0050", "Ethernet patch cable, shielded, 5 m",
               "Cordon Ethernet blindé, 5 m"),
              ("SER0030", "Serial programming cable RS-232, 3 m",
               "Câble de programmation série RS-232, 3 m"),
              ("RIO0100", "Remote I/O trunk cable, coaxial, 10 m",
               "Câble principal d'E/S déportées, coaxial, 10 m"),
              ("RIO0300", "Remote I/O trunk cable, coaxial, 30 m",
               "Câble principal d'E/S déportées, coaxial, 30 m"),
              ("PWC0010", "Pre-wired cable 40-pin to wiring adapter, 1 m",
               "Câble précâblé 40 points vers embase de câblage, 1 m"),
              ("PWC0030", "Pre-wired cable 40-pin to wiring adapter, 3 m",
               "Câble précâblé 40 points vers embase de câblage, 3 m"),
              ("PWC0050", "Pre-wired cable 40-pin, free wire ends, 5 m",
               "Câble précâblé 40 points, fils libres, 5 m")]
    for v, en, fr in cables:
        cat.add(Part(fam, "Cable", "Accessories", "CBL" + v, en=en, fr=fr))
    services = [
        ("SVCENG0001", "Engineering service, one day on site",
         "Prestation d'ingénierie, une journée sur site"),
        ("SVCMIG0001", 'Migration service "Assessment": inventory of the installed base, '
                       "replacement proposal and migration plan for every drop; report in "
                       "English or French, on-site visit of up to two days included",
         'Prestation de migration "Assessment" : inventaire de la base installée, proposition '
         "de remplacement et plan de migration pour chaque station ; rapport en anglais ou en "
         "français, visite sur site jusqu'à deux jours incluse"),
        ("SVCCOM0001", "Commissioning service, one day",
         "Prestation de mise en service, une journée"),
        ("SVCTRN0001", "Training course, three days, up to 6 participants",
         "Formation, trois jours, jusqu'à 6 participants"),
        ("SVCWAR0001", "Warranty extension, two years",
         "Extension de garantie, deux ans"),
        ("SVCREP0001", "Repair service, standard exchange",
         "Service de réparation, échange standard")]
    for name, en, fr in services:
        cat.add(Part(fam, "Service", "Other", name, en=en, fr=fr))


# ---------------------------------------------------------------------------
# Rockwell families: real, public catalogue numbers.

def rw(cat, family, type_, group, name, en, fr, slots=1, placement=PLACE_ANY, caps="",
       picklist=None):
    cat.add(Part(family, type_, group, name, slots=slots, placement=placement, caps=caps,
                 picklist=picklist or [], en=en, fr=fr))


def build_slc500(cat):
    fam = "SLC500"
    cat.comment("' ==== Rockwell SLC 500 ====")
    for n in (4, 7, 10, 13):
        rw(cat, fam, "Rack", "Main", f"1746-A{n}", f"SLC 500 modular chassis, {n} slots",
           f"Châssis modulaire SLC 500, {n} emplacements", slots=n)
    generic_rack(cat, fam, cat.of(family=fam, type_="Rack"), "SLC500")
    cpus_ = [("L511", "5/01", "1K"), ("L514", "5/01", "4K"), ("L524", "5/02", "4K"),
             ("L531", "5/03", "8K"), ("L532", "5/03", "16K"), ("L541", "5/04", "16K"),
             ("L542", "5/04", "32K"), ("L543", "5/04", "64K"), ("L551", "5/05", "16K"),
             ("L552", "5/05", "32K"), ("L553", "5/05", "64K")]
    for cat_no, model, mem in cpus_:
        rw(cat, fam, "CPU", "Standard", "1747-" + cat_no,
           f"SLC {model} processor, {mem} words memory",
           f"Processeur SLC {model}, mémoire {mem} mots", placement=PLACE_CPU)
    rw(cat, fam, "CPU", "Standard", "1747-L5xx", "Any SLC 5/0x processor (choose from the list)",
       "Processeur SLC 5/0x quelconque (choisir dans la liste)", placement=PLACE_CPU,
       picklist=[p.name for p in cat.of(family=fam, type_="CPU")])
    supplies = [("P1", "120/240 V AC, 2 A at 5 V DC", "120/240 V CA, 2 A sous 5 V CC"),
                ("P2", "120/240 V AC, 5 A at 5 V DC", "120/240 V CA, 5 A sous 5 V CC"),
                ("P3", "24 V DC, 3.6 A at 5 V DC", "24 V CC, 3,6 A sous 5 V CC"),
                ("P4", "120/240 V AC, 10 A at 5 V DC", "120/240 V CA, 10 A sous 5 V CC"),
                ("P5", "125 V DC, 5 A at 5 V DC", "125 V CC, 5 A sous 5 V CC"),
                ("P6", "48 V DC, 5 A at 5 V DC", "48 V CC, 5 A sous 5 V CC"),
                ("P7", "12/24 V DC, 2 A at 5 V DC", "12/24 V CC, 2 A sous 5 V CC")]
    for cat_no, en, fr in supplies:
        rw(cat, fam, "Power", "Standard", "1746-" + cat_no, f"SLC 500 power supply, {en}",
           f"Alimentation SLC 500, {fr}", placement=PLACE_POWER)
    io = [("IA8", "DiscreteIn", "8 inputs 120 V AC", "8 entrées 120 V CA"),
          ("IA16", "DiscreteIn", "16 inputs 120 V AC", "16 entrées 120 V CA"),
          ("IB8", "DiscreteIn", "8 inputs 24 V DC sinking", "8 entrées 24 V CC logique négative"),
          ("IB16", "DiscreteIn", "16 inputs 24 V DC sinking",
           "16 entrées 24 V CC logique négative"),
          ("IB32", "DiscreteIn", "32 inputs 24 V DC sinking",
           "32 entrées 24 V CC logique négative"),
          ("ITB16", "DiscreteIn", "16 fast inputs 24 V DC sinking",
           "16 entrées rapides 24 V CC logique négative"),
          ("IV16", "DiscreteIn", "16 inputs 24 V DC sourcing",
           "16 entrées 24 V CC logique positive"),
          ("IM16", "DiscreteIn", "16 inputs 240 V AC", "16 entrées 240 V CA"),
          ("OA8", "DiscreteOut", "8 triac outputs 120/240 V AC",
           "8 sorties triac 120/240 V CA"),
          ("OA16", "DiscreteOut", "16 triac outputs 120/240 V AC",
           "16 sorties triac 120/240 V CA"),
          ("OB8", "DiscreteOut", "8 outputs 24 V DC sourcing",
           "8 sorties 24 V CC logique positive"),
          ("OB16", "DiscreteOut", "16 outputs 24 V DC sourcing",
           "16 sorties 24 V CC logique positive"),
          ("OB32", "DiscreteOut", "32 outputs 24 V DC sourcing",
           "32 sorties 24 V CC logique positive"),
          ("OBP16", "DiscreteOut", "16 protected outputs 24 V DC sourcing",
           "16 sorties protégées 24 V CC logique positive"),
          ("OV16", "DiscreteOut", "16 outputs 24 V DC sinking",
           "16 sorties 24 V CC logique négative"),
          ("OW16", "DiscreteOut", "16 relay outputs", "16 sorties relais"),
          ("OX8", "DiscreteOut", "8 isolated relay outputs", "8 sorties relais isolées"),
          ("IO4", "DiscreteMixed", "2 inputs 120 V AC and 2 relay outputs",
           "2 entrées 120 V CA et 2 sorties relais"),
          ("IO8", "DiscreteMixed", "4 inputs 120 V AC and 4 relay outputs",
           "4 entrées 120 V CA et 4 sorties relais"),
          ("IO12", "DiscreteMixed", "6 inputs 120 V AC and 6 relay outputs",
           "6 entrées 120 V CA et 6 sorties relais"),
          ("NI4", "AnalogIn", "4 analog inputs, current or voltage",
           "4 entrées analogiques, courant ou tension"),
          ("NI8", "AnalogIn", "8 analog inputs, current or voltage",
           "8 entrées analogiques, courant ou tension"),
          ("NI16I", "AnalogIn", "16 analog current inputs", "16 entrées analogiques courant"),
          ("NT4", "AnalogIn", "4 thermocouple/mV inputs", "4 entrées thermocouple/mV"),
          ("NT8", "AnalogIn", "8 thermocouple/mV inputs", "8 entrées thermocouple/mV"),
          ("NR4", "AnalogIn", "4 RTD/resistance inputs", "4 entrées RTD/résistance"),
          ("NO4I", "AnalogOut", "4 analog current outputs", "4 sorties analogiques courant"),
          ("NO4V", "AnalogOut", "4 analog voltage outputs", "4 sorties analogiques tension"),
          ("NIO4I", "AnalogMixed", "2 analog inputs and 2 current outputs",
           "2 entrées analogiques et 2 sorties courant"),
          ("HSCE", "Counter", "high-speed counter, 1 channel 50 kHz",
           "compteur rapide, 1 voie 50 kHz"),
          ("BAS", "Special", "BASIC module, two serial ports", "module BASIC, deux ports série")]
    for cat_no, group, en, fr in io:
        rw(cat, fam, "Module", group, "1746-" + cat_no, f"SLC 500 I/O module, {en}",
           f"Module d'E/S SLC 500, {fr}")
    comms = [("1747-SDN", "DeviceNet scanner module", "Module scrutateur DeviceNet"),
             ("1747-SN", "Remote I/O scanner module", "Module scrutateur d'E/S déportées"),
             ("1747-KE", "DH-485/RS-232 interface module", "Module d'interface DH-485/RS-232"),
             ("1747-DCM", "Direct communication module", "Module de communication directe"),
             ("1761-NET-ENI", "Ethernet interface for DF1 devices",
              "Interface Ethernet pour équipements DF1")]
    for name, en, fr in comms:
        rw(cat, fam, "Module", "Communication", name, en, fr)
    rw(cat, fam, "Other", "Accessories", "1746-N2", "Card slot filler for unused slots",
       "Cache pour emplacement inutilisé")
    rw(cat, fam, "Other", "Memory", "1747-M13", "EEPROM memory module, 64K",
       "Module mémoire EEPROM 64K")
    rw(cat, fam, "Other", "Memory", "1747-BA", "Lithium battery for SLC processors",
       "Pile au lithium pour processeurs SLC")


def build_controllogix(cat):
    fam = "ControlLogix"
    cat.comment("' ==== Rockwell ControlLogix ====")
    for n in (4, 7, 10, 13, 17):
        rw(cat, fam, "Rack", "Main", f"1756-A{n}", f"ControlLogix chassis, {n} slots",
           f"Châssis ControlLogix, {n} emplacements", slots=n)
    generic_rack(cat, fam, cat.of(family=fam, type_="Rack"), "ControlLogix")
    cpu_rows = [("L61", "ControlLogix 5561 controller, 2 MB", "Contrôleur ControlLogix 5561, 2 Mo"),
                ("L62", "ControlLogix 5562 controller, 4 MB", "Contrôleur ControlLogix 5562, 4 Mo"),
                ("L63", "ControlLogix 5563 controller, 8 MB", "Contrôleur ControlLogix 5563, 8 Mo"),
                ("L64", "ControlLogix 5564 controller, 16 MB",
                 "Contrôleur ControlLogix 5564, 16 Mo"),
                ("L65", "ControlLogix 5565 controller, 32 MB",
                 "Contrôleur ControlLogix 5565, 32 Mo"),
                ("L71", "ControlLogix 5571 controller, 2 MB", "Contrôleur ControlLogix 5571, 2 Mo"),
                ("L72", "ControlLogix 5572 controller, 4 MB", "Contrôleur ControlLogix 5572, 4 Mo"),
                ("L73", "ControlLogix 5573 controller, 8 MB", "Contrôleur ControlLogix 5573, 8 Mo"),
                ("L74", "ControlLogix 5574 controller, 16 MB",
                 "Contrôleur ControlLogix 5574, 16 Mo"),
                ("L75", "ControlLogix 5575 controller, 32 MB",
                 "Contrôleur ControlLogix 5575, 32 Mo"),
                ("L81E", "ControlLogix 5580 controller, 3 MB, Ethernet port",
                 "Contrôleur ControlLogix 5580, 3 Mo, port Ethernet"),
                ("L82E", "ControlLogix 5580 controller, 5 MB, Ethernet port",
                 "Contrôleur ControlLogix 5580, 5 Mo, port Ethernet"),
                ("L83E", "ControlLogix 5580 controller, 10 MB, Ethernet port",
                 "Contrôleur ControlLogix 5580, 10 Mo, port Ethernet"),
                ("L84E", "ControlLogix 5580 controller, 20 MB, Ethernet port",
                 "Contrôleur ControlLogix 5580, 20 Mo, port Ethernet"),
                ("L85E", "ControlLogix 5580 controller, 40 MB, Ethernet port",
                 "Contrôleur ControlLogix 5580, 40 Mo, port Ethernet")]
    for cat_no, en, fr in cpu_rows:
        rw(cat, fam, "CPU", "Standard", "1756-" + cat_no, en, fr, placement=PLACE_CPU)
    for name, pattern, what, what_fr in (
            ("1756-L6x", r"^1756-L6\d$", "ControlLogix 556x", "ControlLogix 556x"),
            ("1756-L7x", r"^1756-L7\d$", "ControlLogix 557x", "ControlLogix 557x"),
            ("1756-L8x", r"^1756-L8\dE$", "ControlLogix 5580", "ControlLogix 5580")):
        choices = [p.name for p in cat.of(family=fam, type_="CPU") if re.match(pattern, p.name)]
        rw(cat, fam, "CPU", "Standard", name, f"Any {what} controller (choose from the list)",
           f"Contrôleur {what_fr} quelconque (choisir dans la liste)", placement=PLACE_CPU,
           picklist=choices)
    supplies = [("PA72", "Standard", "", "85-265 V AC, 10 A at 5 V DC",
                 "85-265 V CA, 10 A sous 5 V CC"),
                ("PB72", "Standard", "", "18-32 V DC, 10 A at 5 V DC",
                 "18-32 V CC, 10 A sous 5 V CC"),
                ("PA75", "Standard", "", "85-265 V AC, 13 A at 5 V DC",
                 "85-265 V CA, 13 A sous 5 V CC"),
                ("PB75", "Standard", "", "19-32 V DC, 13 A at 5 V DC",
                 "19-32 V CC, 13 A sous 5 V CC"),
                ("PA75R", "Redundant", "Redundant", "redundant, 85-265 V AC",
                 "redondante, 85-265 V CA"),
                ("PB75R", "Redundant", "Redundant", "redundant, 19-32 V DC",
                 "redondante, 19-32 V CC")]
    for cat_no, group, caps, en, fr in supplies:
        rw(cat, fam, "Power", group, "1756-" + cat_no, f"ControlLogix power supply, {en}",
           f"Alimentation ControlLogix, {fr}", placement=PLACE_POWER, caps=caps)
    rw(cat, fam, "Power", "Redundant", "1756-PSCA2",
       "Chassis adapter module for redundant power supplies",
       "Module adaptateur de châssis pour alimentations redondantes", placement=PLACE_POWER,
       caps="Redundant")
    io = [("IB16", "DiscreteIn", "16 inputs 10-31 V DC", "16 entrées 10-31 V CC"),
          ("IB16D", "DiscreteIn", "16 diagnostic inputs 10-30 V DC",
           "16 entrées avec diagnostic 10-30 V CC"),
          ("IB32", "DiscreteIn", "32 inputs 10-31 V DC", "32 entrées 10-31 V CC"),
          ("IA16", "DiscreteIn", "16 inputs 79-132 V AC", "16 entrées 79-132 V CA"),
          ("IA16I", "DiscreteIn", "16 isolated inputs 79-132 V AC",
           "16 entrées isolées 79-132 V CA"),
          ("OB16D", "DiscreteOut", "16 diagnostic outputs 19-30 V DC",
           "16 sorties avec diagnostic 19-30 V CC"),
          ("OB16E", "DiscreteOut", "16 electronically fused outputs 10-31 V DC",
           "16 sorties à fusible électronique 10-31 V CC"),
          ("OB32", "DiscreteOut", "32 outputs 10-31 V DC", "32 sorties 10-31 V CC"),
          ("OA16", "DiscreteOut", "16 outputs 74-265 V AC", "16 sorties 74-265 V CA"),
          ("OW16I", "DiscreteOut", "16 isolated relay outputs", "16 sorties relais isolées"),
          ("IF8", "AnalogIn", "8 analog inputs, current or voltage",
           "8 entrées analogiques, courant ou tension"),
          ("IF16", "AnalogIn", "16 analog inputs, current or voltage",
           "16 entrées analogiques, courant ou tension"),
          ("IF6I", "AnalogIn", "6 isolated analog inputs", "6 entrées analogiques isolées"),
          ("IT6I", "AnalogIn", "6 isolated thermocouple/mV inputs",
           "6 entrées thermocouple/mV isolées"),
          ("IR6I", "AnalogIn", "6 isolated RTD inputs", "6 entrées RTD isolées"),
          ("OF4", "AnalogOut", "4 analog outputs, current or voltage",
           "4 sorties analogiques, courant ou tension"),
          ("OF8", "AnalogOut", "8 analog outputs, current or voltage",
           "8 sorties analogiques, courant ou tension"),
          ("OF6CI", "AnalogOut", "6 isolated analog current outputs",
           "6 sorties analogiques courant isolées"),
          ("HSC", "Counter", "high-speed counter, 2 channels 1 MHz",
           "compteur rapide, 2 voies 1 MHz"),
          ("M02AE", "Motion", "motion module, 2 axes analog and encoder",
           "module d'axes, 2 axes analogiques avec codeur"),
          ("M08SE", "Motion", "motion module, 8 axes SERCOS interface",
           "module d'axes, 8 axes interface SERCOS")]
    for cat_no, group, en, fr in io:
        rw(cat, fam, "Module", group, "1756-" + cat_no, f"ControlLogix module, {en}",
           f"Module ControlLogix, {fr}")
    comms = [("EN2T", "EtherNet/IP bridge, 10/100 Mbit/s", "Pont EtherNet/IP, 10/100 Mbit/s"),
             ("EN2TR", "EtherNet/IP bridge, two ports, device-level ring",
              "Pont EtherNet/IP, deux ports, anneau DLR"),
             ("EN3TR", "EtherNet/IP bridge, two ports, 128 I/O connections",
              "Pont EtherNet/IP, deux ports, 128 connexions d'E/S"),
             ("ENBT", "EtherNet/IP bridge, 10/100 Mbit/s, series B",
              "Pont EtherNet/IP, 10/100 Mbit/s, série B"),
             ("CNB", "ControlNet bridge", "Pont ControlNet"),
             ("CNBR", "ControlNet bridge, redundant media", "Pont ControlNet, média redondant"),
             ("DHRIO", "Data Highway Plus and remote I/O module",
              "Module Data Highway Plus et E/S déportées"),
             ("RIO", "Remote I/O communication module", "Module de communication E/S déportées"),
             ("DNB", "DeviceNet bridge/scanner", "Pont/scrutateur DeviceNet")]
    for cat_no, en, fr in comms:
        rw(cat, fam, "Module", "Communication", "1756-" + cat_no, en, fr)
    rw(cat, fam, "Other", "Accessories", "1756-N2", "Slot filler for unused slots",
       "Cache pour emplacement inutilisé")
    cat.comment("' Adapters and distributed I/O found in ControlLogix projects")
    for name, group, en, fr in (
            ("1747-ASB", "RIO-Drop", "SLC remote I/O adapter module",
             "Module adaptateur d'E/S déportées SLC"),
            ("1794-ASB", "RIO-Drop", "FLEX I/O remote I/O adapter",
             "Adaptateur d'E/S déportées FLEX I/O"),
            ("1794-AENT", "RIO-Drop", "FLEX I/O EtherNet/IP adapter",
             "Adaptateur EtherNet/IP FLEX I/O"),
            ("1734-AENT", "RIO-Drop", "POINT I/O EtherNet/IP adapter",
             "Adaptateur EtherNet/IP POINT I/O"),
            ("5094-AEN2TR", "RIO-Drop", "FLEX 5000 EtherNet/IP adapter, two ports",
             "Adaptateur EtherNet/IP FLEX 5000, deux ports"),
            ("1783-ETAP", "Communication", "EtherNet/IP tap, device-level ring",
             "Dérivation EtherNet/IP, anneau DLR"),
            ("1794-IB16", "DiscreteIn", "FLEX I/O module, 16 inputs 24 V DC",
             "Module FLEX I/O, 16 entrées 24 V CC"),
            ("1734-IV8", "DiscreteIn", "POINT I/O module, 8 inputs 24 V DC sourcing",
             "Module POINT I/O, 8 entrées 24 V CC logique positive"),
            ("5094-IB16", "DiscreteIn", "FLEX 5000 module, 16 inputs 24 V DC",
             "Module FLEX 5000, 16 entrées 24 V CC"),
            ("5094-IB32", "DiscreteIn", "FLEX 5000 module, 32 inputs 24 V DC",
             "Module FLEX 5000, 32 entrées 24 V CC"),
            ("5094-OB16", "DiscreteOut", "FLEX 5000 module, 16 outputs 24 V DC",
             "Module FLEX 5000, 16 sorties 24 V CC"),
            ("5094-IF8", "AnalogIn", "FLEX 5000 module, 8 analog inputs",
             "Module FLEX 5000, 8 entrées analogiques"),
            ("5094-IY8", "AnalogIn", "FLEX 5000 module, 8 universal analog inputs",
             "Module FLEX 5000, 8 entrées analogiques universelles"),
            ("5094-OF8", "AnalogOut", "FLEX 5000 module, 8 analog outputs",
             "Module FLEX 5000, 8 sorties analogiques"),
            ("5094-HSC", "Counter", "FLEX 5000 high-speed counter module",
             "Module de comptage rapide FLEX 5000"),
            ("1732E-IB16M12DR", "DiscreteIn", "ArmorBlock EtherNet/IP, 16 inputs 24 V DC, "
                                              "M12 connectors",
             "ArmorBlock EtherNet/IP, 16 entrées 24 V CC, connecteurs M12"),
            ("1407-CGCM", "Special", "Combination generator control module",
             "Module combiné de contrôle de générateur")):
        rw(cat, fam, "Module", group, name, en, fr)


def build_plc5(cat):
    fam = "PLC5"
    cat.comment("' ==== Rockwell PLC-5 ====")
    for name, n in (("1771-A1B", 4), ("1771-A2B", 8), ("1771-A3B1", 12),
                    ("1771-A4B", 16)):
        rw(cat, fam, "Rack", "Main", name, f"1771 I/O chassis, {n} slots",
           f"Châssis d'E/S 1771, {n} emplacements", slots=n)
    generic_rack(cat, fam, cat.of(family=fam, type_="Rack"), "PLC5")
    rows = [("L11B", "PLC-5/11 processor, 8K words", "Processeur PLC-5/11, 8K mots"),
            ("L20B", "PLC-5/20 processor, 16K words", "Processeur PLC-5/20, 16K mots"),
            ("L30B", "PLC-5/30 processor, 32K words", "Processeur PLC-5/30, 32K mots"),
            ("L40B", "PLC-5/40 processor, 48K words", "Processeur PLC-5/40, 48K mots"),
            ("L60B", "PLC-5/60 processor, 64K words", "Processeur PLC-5/60, 64K mots"),
            ("L80B", "PLC-5/80 processor, 100K words", "Processeur PLC-5/80, 100K mots"),
            ("L20E", "Ethernet PLC-5/20E processor, 16K words",
             "Processeur Ethernet PLC-5/20E, 16K mots"),
            ("L40E", "Ethernet PLC-5/40E processor, 48K words",
             "Processeur Ethernet PLC-5/40E, 48K mots"),
            ("L80E", "Ethernet PLC-5/80E processor, 100K words",
             "Processeur Ethernet PLC-5/80E, 100K mots"),
            ("L20C15", "ControlNet PLC-5/20C processor, 16K words",
             "Processeur ControlNet PLC-5/20C, 16K mots"),
            ("L40C15", "ControlNet PLC-5/40C processor, 48K words",
             "Processeur ControlNet PLC-5/40C, 48K mots"),
            ("L80C15", "ControlNet PLC-5/80C processor, 100K words",
             "Processeur ControlNet PLC-5/80C, 100K mots")]
    for cat_no, en, fr in rows:
        rw(cat, fam, "CPU", "Standard", "1785-" + cat_no, en, fr, placement=PLACE_CPU)
    for suffix, what in (("B", "PLC-5"), ("E", "Ethernet PLC-5"), ("C15", "ControlNet PLC-5")):
        choices = [p.name for p in cat.of(family=fam, type_="CPU")
                   if re.match(r"^1785-L\d\d" + suffix + "$", p.name)]
        rw(cat, fam, "CPU", "Standard", f"1785-Lxx{suffix}",
           f"Any {what} processor (choose from the list)",
           f"Processeur {what} quelconque (choisir dans la liste)", placement=PLACE_CPU,
           picklist=choices)
    for name, en, fr in (("1771-P4S", "power supply, 120 V AC, 8 A", "alimentation 120 V CA, 8 A"),
                         ("1771-P4S1", "power supply, 100 V AC, 8 A",
                          "alimentation 100 V CA, 8 A"),
                         ("1771-P6S", "power supply, 220 V AC, 8 A",
                          "alimentation 220 V CA, 8 A"),
                         ("1771-P7", "power supply, 120/220 V AC, 16 A",
                          "alimentation 120/220 V CA, 16 A"),
                         ("1771-PS7", "power supply, 120/220 V AC, 16 A, slot mounted",
                          "alimentation 120/220 V CA, 16 A, montée en emplacement")):
        rw(cat, fam, "Power", "Standard", name, f"1771 {en}", f"1771 {fr}",
           placement=PLACE_POWER)
    for name, group, en, fr in (
            ("1771-IAD", "DiscreteIn", "16 inputs 120 V AC", "16 entrées 120 V CA"),
            ("1771-IBD", "DiscreteIn", "16 inputs 10-30 V DC", "16 entrées 10-30 V CC"),
            ("1771-OAD", "DiscreteOut", "16 outputs 120 V AC", "16 sorties 120 V CA"),
            ("1771-OBD", "DiscreteOut", "16 outputs 10-60 V DC", "16 sorties 10-60 V CC"),
            ("1771-OW16", "DiscreteOut", "16 relay outputs", "16 sorties relais"),
            ("1771-IFE", "AnalogIn", "16 analog inputs", "16 entrées analogiques"),
            ("1771-OFE2", "AnalogOut", "4 analog current outputs",
             "4 sorties analogiques courant"),
            ("1771-IXE", "AnalogIn", "8 thermocouple inputs", "8 entrées thermocouple"),
            ("1771-DB", "Special", "BASIC module", "module BASIC")):
        rw(cat, fam, "Module", group, name, f"1771 I/O module, {en}",
           f"Module d'E/S 1771, {fr}")
    rw(cat, fam, "Module", "RIO-Drop", "1771-ASB", "1771 remote I/O adapter module",
       "Module adaptateur d'E/S déportées 1771", placement=PLACE_REMOTE)
    rw(cat, fam, "Module", "Communication", "1771-SN", "1771 remote I/O sub-scanner module",
       "Module sous-scrutateur d'E/S déportées 1771")


# ---------------------------------------------------------------------------
# Siemens families: real catalogue numbers.

def build_siemens(cat):
    cat.comment("' ==== Siemens S5 ====")
    s5 = [("S5-Large", "Rack", "Main", "6ES5 135-3UA42", 21,
           "S5-135U central controller subrack", "Châssis d'unité centrale S5-135U"),
          ("S5-Large", "CPU", "Standard", "6ES5 928-3UB21", 1, "S5-135U CPU 928B",
           "UC 928B pour S5-135U"),
          ("S5-Large", "Power", "Standard", "6ES5 955-3LF42", 1,
           "S5-135U power supply 230 V AC", "Alimentation S5-135U 230 V CA"),
          ("S5-Medium", "Rack", "Main", "6ES5 700-0LA12", 7,
           "S5-115U central rack CR 700-0", "Châssis central S5-115U CR 700-0"),
          ("S5-Medium", "CPU", "Standard", "6ES5 943-7UB11", 1, "S5-115U CPU 943",
           "UC 943 pour S5-115U"),
          ("S5-Medium", "Power", "Standard", "6ES5 951-7LD21", 1,
           "S5-115U power supply PS 951, 230 V AC", "Alimentation PS 951 S5-115U, 230 V CA"),
          ("S5-Small", "Rack", "Main", "6ES5 700-8MA11", 2, "S5-100U bus unit",
           "Unité de bus S5-100U"),
          ("S5-Small", "CPU", "Standard", "6ES5 103-8MA03", 1, "S5-100U CPU 103",
           "UC 103 pour S5-100U"),
          ("S5-Small", "Power", "Standard", "6ES5 930-8MD11", 1,
           "S5-100U power supply PS 930", "Alimentation PS 930 pour S5-100U"),
          ("S5-Small", "Module", "DiscreteIn", "6ES5 420-8MA11", 1,
           "S5-100U digital input module, 4 inputs 24 V DC",
           "Module d'entrées TOR S5-100U, 4 entrées 24 V CC"),
          ("S5-Small", "Module", "DiscreteOut", "6ES5 441-8MA11", 1,
           "S5-100U digital output module, 4 outputs 24 V DC",
           "Module de sorties TOR S5-100U, 4 sorties 24 V CC"),
          # I/O shared by the medium and large S5 systems.
          ("S5-ML", "Module", "DiscreteIn", "6ES5 420-4UA13", 1,
           "S5 digital input module, 32 inputs 24 V DC",
           "Module d'entrées TOR S5, 32 entrées 24 V CC"),
          ("S5-ML", "Module", "DiscreteOut", "6ES5 441-4UA13", 1,
           "S5 digital output module, 32 outputs 24 V DC 0.5 A",
           "Module de sorties TOR S5, 32 sorties 24 V CC 0,5 A"),
          ("S5-ML", "Module", "AnalogIn", "6ES5 460-4UA13", 1,
           "S5 analog input module, 8 inputs", "Module d'entrées analogiques S5, 8 entrées")]
    for fam, t, g, name, slots, en, fr in s5:
        rw(cat, fam, t, g, name, en, fr, slots=slots,
           placement={"CPU": PLACE_CPU, "Power": PLACE_POWER}.get(t, PLACE_ANY))
    cat.comment("' ==== Siemens S7 ====")
    s7 = [("S7-300", "Rack", "Main", "6ES7 390-1AE80-0AA0", 11, "S7-300 mounting rail, 480 mm",
           "Profilé support S7-300, 480 mm"),
          ("S7-300", "Rack", "Main", "6ES7 390-1AF30-0AA0", 11, "S7-300 mounting rail, 530 mm",
           "Profilé support S7-300, 530 mm"),
          ("S7-300", "Rack", "Main", "6ES7 390-1AJ30-0AA0", 11, "S7-300 mounting rail, 830 mm",
           "Profilé support S7-300, 830 mm"),
          ("S7-300", "CPU", "Standard", "6ES7 315-2AG10-0AB0", 1, "CPU 315-2 DP",
           "UC 315-2 DP"),
          ("S7-300", "CPU", "Standard", "6ES7 315-2EH14-0AB0", 1, "CPU 315-2 PN/DP",
           "UC 315-2 PN/DP"),
          ("S7-300", "CPU", "Standard", "6ES7 317-2AK14-0AB0", 1, "CPU 317-2 DP",
           "UC 317-2 DP"),
          ("S7-300", "CPU", "Standard", "6ES7 313-5BG04-0AB0", 1, "CPU 313C, compact",
           "UC 313C, compacte"),
          ("S7-300", "Power", "Standard", "6ES7 307-1BA01-0AA0", 1, "Power supply PS 307, 2 A",
           "Alimentation PS 307, 2 A"),
          ("S7-300", "Power", "Standard", "6ES7 307-1EA00-0AA0", 1, "Power supply PS 307, 5 A",
           "Alimentation PS 307, 5 A"),
          ("S7-300", "Power", "Standard", "6ES7 307-1KA02-0AA0", 1,
           "Power supply PS 307, 10 A", "Alimentation PS 307, 10 A"),
          ("S7-300", "Module", "DiscreteIn", "6ES7 321-1BH02-0AA0", 1,
           "SM 321 digital input module, 16 × 24 V DC", "Module SM 321, 16 entrées 24 V CC"),
          ("S7-300", "Module", "DiscreteIn", "6ES7 321-1BL00-0AA0", 1,
           "SM 321 digital input module, 32 × 24 V DC", "Module SM 321, 32 entrées 24 V CC"),
          ("S7-300", "Module", "DiscreteOut", "6ES7 322-1BH01-0AA0", 1,
           "SM 322 digital output module, 16 × 24 V DC 0.5 A",
           "Module SM 322, 16 sorties 24 V CC 0,5 A"),
          ("S7-300", "Module", "DiscreteOut", "6ES7 322-1BL00-0AA0", 1,
           "SM 322 digital output module, 32 × 24 V DC 0.5 A",
           "Module SM 322, 32 sorties 24 V CC 0,5 A"),
          ("S7-300", "Module", "DiscreteOut", "6ES7 322-1HF01-0AA0", 1,
           "SM 322 relay output module, 8 relays", "Module SM 322, 8 sorties relais"),
          ("S7-300", "Module", "DiscreteMixed", "6ES7 323-1BL00-0AA0", 1,
           "SM 323 digital I/O module, 16 inputs and 16 outputs 24 V DC",
           "Module SM 323, 16 entrées et 16 sorties 24 V CC"),
          ("S7-300", "Module", "AnalogIn", "6ES7 331-7KF02-0AB0", 1,
           "SM 331 analog input module, 8 channels", "Module SM 331, 8 entrées analogiques"),
          ("S7-300", "Module", "AnalogOut", "6ES7 332-5HF00-0AB0", 1,
           "SM 332 analog output module, 8 channels", "Module SM 332, 8 sorties analogiques"),
          ("S7-300", "Module", "Communication", "6ES7 340-1CH02-0AE0", 1,
           "CP 340 point-to-point module, RS-422/485", "Module CP 340, RS-422/485"),
          ("S7-300", "Module", "Communication", "6GK7 343-1EX30-0XE0", 1,
           "CP 343-1 Industrial Ethernet processor", "Processeur Industrial Ethernet CP 343-1"),
          ("S7-300", "Module", "Counter", "6ES7 350-1AH03-0AE0", 1,
           "FM 350-1 counter module", "Module de comptage FM 350-1"),
          ("S7-300", "Module", "Extension", "6ES7 360-3AA01-0AA0", 1,
           "IM 360 interface module, central rack", "Coupleur IM 360, châssis central"),
          ("S7-300", "Module", "Extension", "6ES7 361-3CA01-0AA0", 1,
           "IM 361 interface module, extension rack", "Coupleur IM 361, châssis d'extension"),
          ("S7-300", "Module", "Extension", "6ES7 365-0BA01-0AA0", 1,
           "IM 365 interface module pair, one extension rack",
           "Paire de coupleurs IM 365, un châssis d'extension"),
          ("S7-300", "QWA", "Terminal", "6ES7 392-1AJ00-0AA0", 1,
           "Front connector, 20-pin, screw terminals", "Connecteur frontal 20 points à vis"),
          ("S7-300", "QWA", "Terminal", "6ES7 392-1AM00-0AA0", 1,
           "Front connector, 40-pin, screw terminals", "Connecteur frontal 40 points à vis"),
          ("S7-400", "Rack", "Main", "6ES7 400-1JA01-0AA0", 9, "S7-400 rack UR2, 9 slots",
           "Châssis S7-400 UR2, 9 emplacements"),
          ("S7-400", "Rack", "Main", "6ES7 400-1TA01-0AA0", 18, "S7-400 rack UR1, 18 slots",
           "Châssis S7-400 UR1, 18 emplacements"),
          ("S7-400", "CPU", "Standard", "6ES7 412-2XJ05-0AB0", 1, "CPU 412-2", "UC 412-2"),
          ("S7-400", "CPU", "Standard", "6ES7 414-2XK05-0AB0", 1, "CPU 414-2", "UC 414-2"),
          ("S7-400", "CPU", "Standard", "6ES7 416-2XN05-0AB0", 1, "CPU 416-2", "UC 416-2"),
          ("S7-400", "CPU", "Standard", "6ES7 417-4XT05-0AB0", 1, "CPU 417-4", "UC 417-4"),
          ("S7-400", "Power", "Standard", "6ES7 407-0DA02-0AA0", 1, "Power supply PS 407, 4 A",
           "Alimentation PS 407, 4 A"),
          ("S7-400", "Power", "Standard", "6ES7 407-0KA02-0AA0", 2,
           "Power supply PS 407, 10 A", "Alimentation PS 407, 10 A"),
          ("S7-400", "Power", "Redundant", "6ES7 407-0KR02-0AA0", 2,
           "Power supply PS 407 10 A R, redundant", "Alimentation PS 407 10 A R, redondante"),
          ("S7-400", "Module", "DiscreteIn", "6ES7 421-1BL01-0AA0", 1,
           "SM 421 digital input module, 32 × 24 V DC", "Module SM 421, 32 entrées 24 V CC"),
          ("S7-400", "Module", "DiscreteOut", "6ES7 422-1BL00-0AA0", 1,
           "SM 422 digital output module, 32 × 24 V DC 0.5 A",
           "Module SM 422, 32 sorties 24 V CC 0,5 A"),
          ("S7-400", "Module", "AnalogIn", "6ES7 431-1KF10-0AB0", 1,
           "SM 431 analog input module, 8 channels", "Module SM 431, 8 entrées analogiques"),
          ("S7-400", "Module", "AnalogOut", "6ES7 432-1HF00-0AB0", 1,
           "SM 432 analog output module, 8 channels", "Module SM 432, 8 sorties analogiques"),
          ("S7-400", "Module", "Extension", "6ES7 460-0AA01-0AB0", 1,
           "IM 460-0 send interface module", "Coupleur émetteur IM 460-0"),
          ("S7-400", "Module", "Extension", "6ES7 461-0AA01-0AA0", 1,
           "IM 461-0 receive interface module", "Coupleur récepteur IM 461-0"),
          ("S7-400", "Module", "Communication", "6GK7 443-1EX30-0XE0", 1,
           "CP 443-1 Industrial Ethernet processor", "Processeur Industrial Ethernet CP 443-1")]
    for fam, t, g, name, slots, en, fr in s7:
        rw(cat, fam, t, g, name, en, fr, slots=slots,
           placement={"CPU": PLACE_CPU, "Power": PLACE_POWER}.get(t, PLACE_ANY),
           caps="Redundant" if g == "Redundant" else "")


def build_catalogue() -> Catalogue:
    cat = Catalogue()
    for builder in (build_raven, build_lark, build_osprey, build_kestrel, build_garnet,
                    build_wren, build_sorrel, build_heron, build_briskfinch, build_brisk7,
                    build_plover, build_nonspecific, build_slc500, build_controllogix,
                    build_plc5, build_siemens):
        builder(cat)
    return cat


# ---------------------------------------------------------------------------
# PartInfo.sup

def build_supplement(cat: Catalogue):
    bundles = [("318BDL0100", "(2) 318XBE0100 + CBLCOP0010"),
               ("318BDL0200", "(2) 318HSB1100 + CBLFIB0030"),
               ("RVNBDL0100", "(2) RVNXBE0100 + CBLCOP0010"),
               ("OSPBDL0200", "(2) OSPHSB0100 + CBLFIB0030"),
               ("GRSBDL0100", "(2) GRSXBE0100 + CBLCOP0010"),
               ("WRNBDL0100", "(2) WRNXBE0100 + CBLCOP0005"),
               ("SRLBDL0100", "(2) SRLXBE0100 + CBLCOP0010"),
               ("HRNBDL0100", "(2) HRNXBE0100 + CBLCOP0030 + HRNSCV0100"),
               ("HRNBDL0200", "(2) HRNHSB0100 + CBLFIB0030"),
               ("BRKBDL0100", "(2) BRKXBE0100 + CBLCOP0010"),
               ("077BDL0100", "(2) 077XBE0100 + CBLCOP0010")]
    connector, alternative, shield = [], [], []
    # Discrete modules take the family's screw terminal block; the spring block,
    # or a connector with pre-wired cable and wiring adapter for 32 channels, is
    # the alternative. Analog modules also take the family's shield kit.
    for prefix, terminals in (("318", "318"), ("RVN", "RVN"), ("GRS", "GRS"), ("HRN", "HRN"),
                              ("BRK", "BRK"), ("07V", "07V"), ("SRL", "SRL")):
        for name in (prefix + "DIN1624", prefix + "DIN3224", prefix + "DOU3224T"):
            if not cat.has(name):
                continue
            wide = "32" in name[6:8]
            connector.append((name, terminals + ("TRM4000" if wide else "TRM2000")))
            if wide:
                alternative.append((name, f"{terminals}CON4000 + CBLPWC0030 + ACCQWA3200"))
            else:
                alternative.append((name, terminals + "TRM2001"))
        for name in (prefix + "AIN0820",):
            if cat.has(name):
                shield.append((name, terminals + "SHK0100"))
    return [("Bundles", bundles), ("Connector", connector),
            ("AlternativConnector", alternative), ("ShieldKit", shield)]


def supplement_text(sections) -> str:
    out = ["; Part supplement: contents of bundle parts and the connectors and shield kits",
           "; that go with a module. Keys are part names of PartDescriptions.txt; values",
           "; are part lists joined by \" + \", with an optional \"(n) \" quantity.", ""]
    for name, entries in sections:
        out.append(f"[{name}]")
        for k, v in entries:
            out.append(f"{k}={v}")
        out.append("")
    return "\n".join(out)


# ---------------------------------------------------------------------------
# PartMapping.txt

# Function codes of the older catalogue, per line prefix.
LEGACY_CODES = {
    "318": {"DIN": "DEP", "DOU": "DSP", "DMX": "DMP", "AIN": "AEP", "AOU": "ASP",
            "CNT": "CPT"},
    "319": {"DIN": "DEC", "DOU": "DSC", "AIN": "AEC", "AOU": "ASC"},
    "RVN": {"DIN": "DDI", "DOU": "DDO", "DMX": "DDM", "AIN": "AAI", "AOU": "AAO",
            "AMX": "AAM", "CNT": "HSC"},
    "GRS": {"DIN": "IDC", "DOU": "ODC", "AIN": "IAN", "AOU": "OAN", "DMX": "MDC"},
    "WRN": {"DIN": "DIM", "DOU": "DOM", "AIN": "AIM", "AOU": "AOM"},
    "SRL": {"DIN": "ENT", "DOU": "SRT", "AIN": "ANE", "AOU": "ANS", "DMX": "ESM"},
    "HRN": {"DIN": "DIG", "DOU": "DOG", "DMX": "DMG", "AIN": "ANI", "AOU": "ANO"},
    "BRK": {"DIN": "DEA", "DOU": "DSA", "AIN": "AEA", "AOU": "ASA", "DMX": "DMA"},
    # Plover I/O: tools wrote "97V"; the mapping itself turns that into "07V"
    # before the lookup, so these keys are written in the "07V" form.
    "07V": {"DIN": "DEV", "DOU": "DAV", "DMX": "DMV", "AIN": "AEV", "AOU": "AAV"},
}

# Numeric lines of the old catalogue: which 4-digit prefix a part had.
FUNC_NUMBERS = {"RCK": "100", "RKX": "101", "PSU": "120", "PSR": "121", "DIN": "130",
                "DOU": "140", "DMX": "150", "AIN": "160", "AOU": "170", "AMX": "175",
                "ETH": "180", "SER": "181", "FLD": "182", "RIO": "185", "RDA": "186",
                "XBE": "187", "CNT": "190", "MOT": "195", "SPC": "199"}


def numeric_prefix(prefix: str, code: str, variant: str) -> str:
    ac_or_analog = "A" in variant[4:] or code in ("AIN", "AOU", "AMX")
    if prefix == "GRS":
        return "4411" if ac_or_analog else "4410"
    if prefix == "WRN":
        return "5231" if code in ("AIN", "AOU", "AMX") else "5230"
    if prefix == "SRL":
        return "6641" if code not in ("DIN", "DOU", "DMX") else "6640"
    if prefix == "318":
        if code in ("DIN", "DOU", "DMX"):
            return "8121"
        return "8122" if code in ("AIN", "AOU", "AMX", "CNT", "MOT", "SPC") else "8120"
    if prefix in ("077", "07V"):
        return "9350"
    raise ValueError(prefix)


# Translations whose target the table does not carry (documented in
# docs/catalogue.md, "Mapping targets outside the table").
MAPPING_EXCEPTIONS = [
    ("812219909", "318SPC0900"),
    ("RVNWGT0100", "RVNSPC0700"),
    ("HRCDPM0100", "HRCFLD0400"),
    ("GRSTMP1600", "GRSAIN16TCI"),
    ("SRLSIM0100", "SVCSIM0001"),
]


# Tessel processor designations (docs/catalogue.md, "Tessel processor types"):
# the names CTesselGenericFunctions.GetCpuName gives, compressed, each mapped
# to the current processor at an index of its family's processors in table
# order. Rows: (family, legacy prefix, first number, last number, index).
TESSEL_CPUS = [
    ("GarnetSeries", "GRST", 110, 114, 0), ("GarnetSeries", "GRST", 120, 123, 1),
    ("GarnetSeries", "GRST", 130, 132, 2), ("GarnetSeries", "GRST", 140, 144, 3),
    ("GarnetSeries", "GRST", 150, 151, 4), ("GarnetSeries", "GRST", 160, 160, 4),
    ("GarnetSeries", "GRST", 201, 204, 5), ("GarnetSeries", "GRST", 205, 208, 6),
    ("GarnetSeries", "GRST", 209, 211, 7), ("GarnetSeries", "GRST", 212, 215, 8),
    ("GarnetSeries", "GRST", 301, 305, 8), ("GarnetSeries", "GRST", 311, 312, 9),
    ("GarnetSeries", "GRST", 321, 323, 9),
    ("Wren", "WRNT", 110, 112, 0), ("Wren", "WRNT", 113, 115, 1), ("Wren", "WRNT", 116, 117, 2),
    ("Wren", "WRNT", 118, 119, 3), ("Wren", "WRNT", 120, 120, 4), ("Wren", "WRNT", 130, 133, 5),
    ("Kestrel", "318T", 110, 110, 0), ("Kestrel", "318T", 210, 210, 2),
    ("Kestrel", "318T", 220, 220, 4), ("Kestrel", "318T", 230, 230, 6),
    ("Kestrel", "318T", 240, 240, 8), ("Kestrel", "318T", 310, 310, 10),
    ("Kestrel", "318T", 320, 320, 12),
    ("Plover", "077T", 110, 110, 0), ("Plover", "077T", 120, 120, 1),
    ("Plover", "077T", 130, 130, 2), ("Plover", "077T", 140, 140, 3),
    ("Plover", "077T", 150, 150, 4), ("Plover", "077T", 160, 160, 5),
    ("Plover", "077T", 170, 170, 6),
    ("Plover", "LOGGIA", 410, 410, 5), ("Plover", "LOGGIA", 420, 420, 6),
]


def tessel_cpu_pairs(cat: Catalogue):
    pairs = []
    for family, prefix, first, last, index in TESSEL_CPUS:
        cpus = [p.name for p in cat.of(family=family, type_="CPU") if "*" not in p.name]
        target = cpus[min(index, len(cpus) - 1)]
        pairs += [(f"{prefix}{n}", target) for n in range(first, last + 1)]
    return pairs


def build_mapping(cat: Catalogue):
    """Returns [(section comment, [(legacy, current)])] in file order."""
    sections = []
    taken = set(cat.by_key)          # a legacy name must not be a part name

    def pairs_for(title, candidates):
        out = []
        for legacy, current in candidates:
            k = key(legacy)
            if k in taken:
                continue
            taken.add(k)
            out.append((legacy, current))
        sections.append((title, out))

    def every(seq, keep):
        """Deterministic thinning: keep positions whose index mod 3 is in keep."""
        return [x for i, x in enumerate(seq) if i % 3 in keep]

    def old_codes(prefix, keep=(0,)):
        out = []
        for code, old in LEGACY_CODES[prefix].items():
            for p in every(cat.of(type_="Module", prefix=prefix + code), keep):
                out.append((prefix + old + p.name[6:], p.name))
        return out

    def older_versions(prefix):
        out = []
        for p in cat.of(type_="Rack", prefix=prefix):
            if p.name[3:6] in ("RCK", "RKX") and p.name.endswith("01"):
                out.append((p.name[:-2] + "00", p.name))
        for p in cat.of(type_="Module", prefix=prefix):
            if p.name[3:6] in ("ETH", "SER", "FLD", "XBE", "RDA", "RIO") and \
                    p.name.endswith("00"):
                out.append((p.name[:-2], p.name))
        return out

    def supplies_without_letter(prefix):
        out, seen = [], {}
        for p in cat.of(type_="Power", prefix=prefix):
            seen.setdefault(p.name[:-1], []).append(p.name)
        for short, names in seen.items():
            if len(names) == 1:
                out.append((short, names[0]))
        return out

    def numeric(prefix, keep=(0,)):
        out, used = [], set()
        mods = [p for p in cat.of(type_="Module", prefix=prefix) if p.name[3:6] in FUNC_NUMBERS]
        for p in every(mods, keep):
            code, variant = p.name[3:6], p.name[6:]
            digits = re.match(r"\d+", variant).group()
            seq = int(digits[:2]) or 1    # channels, axes or model number
            while True:
                number = f"{numeric_prefix(prefix, code, variant)}{FUNC_NUMBERS[code]}{seq:02d}"
                if key(number) not in taken and number not in used:
                    break
                seq += 1
            used.add(number)
            out.append((number, p.name))
        return out

    def cpu_short(family, fn):
        return [(fn(p.name), p.name) for p in cat.of(family=family, type_="CPU")]

    pairs_for("' Kestrel: older function codes, versions and numeric numbers (8120-8122)",
              old_codes("318") + old_codes("319") + older_versions("318") +
              supplies_without_letter("318") + numeric("318", keep=(1,)) +
              cpu_short("Kestrel", lambda n: "318P" + n[6:]))
    pairs_for("' Raven (Lark and Osprey I/O): older function codes and versions",
              old_codes("RVN") + older_versions("RVN") + supplies_without_letter("RVN") +
              [("VRDCH" + n + "R", "VRDCH" + n) for n in ("06", "08", "12")])
    pairs_for("' Lark: processors without the CPU code",
              cpu_short("Lark", lambda n: "LKXP" + n[6:]) + older_versions("LKX"))
    pairs_for("' Osprey: processors under their former CPU code",
              cpu_short("Osprey", lambda n: "OSPCPU" + n[3] + n[6:]) + older_versions("OSP"))
    pairs_for("' GarnetSeries: older function codes, versions and numeric numbers (4410/4411)",
              old_codes("GRS") + older_versions("GRS") + supplies_without_letter("GRS") +
              numeric("GRS") +
              cpu_short("GarnetSeries", lambda n: "GRSP" + n[6:]))
    pairs_for("' Wren: older function codes, versions and numeric numbers (5230/5231)",
              old_codes("WRN") + older_versions("WRN") + supplies_without_letter("WRN") +
              numeric("WRN") + cpu_short("Wren", lambda n: "WRNP" + n[6:]))
    pairs_for("' Sorrel: older function codes, versions and numeric numbers (6640/6641)",
              old_codes("SRL") + older_versions("SRL") + supplies_without_letter("SRL") +
              numeric("SRL") + cpu_short("Sorrel", lambda n: "SRLP" + n[6:]))

    def heron_cpu(name):
        if name.startswith("BRISK57-"):
            return "HRNCPU" + name[8:]
        if name.startswith("BRISKP57-"):
            return "HRNCPUP" + name[9:]
        if name.startswith("BRISKH57-"):
            return "HRNCPUH" + name[9:]
        return name[:6] + "0" + name[6:]          # card CPUs: older 0-padded form
    pairs_for("' Heron: processors before the Brisk names, racks, older codes",
              cpu_short("Heron", heron_cpu) +
              [("57" + p.name[8:], p.name) for p in cat.of(family="Heron", type_="CPU",
                                                            prefix="BRISK57-")] +
              [("HRNRCK" + n + "EX", "HRNRKX" + n + "EX") for n in ("04", "06", "08", "12")] +
              [("HRNRCK" + n[1], "HRNRCK" + n) for n in ("04", "06", "08")] +
              old_codes("HRN") + older_versions("HRC") + older_versions("HRN") +
              supplies_without_letter("HRN") +
              [("HRCCNT" + p.name[6:], p.name) for p in cat.of(family="Heron",
                                                               prefix="HRNCNT")])
    pairs_for("' BriskFinch: short processor names",
              [("37" + p.name[8:], p.name) for p in cat.of(family="BriskFinch", type_="CPU")])
    pairs_for("' Brisk7: processors under the module prefix, older function codes",
              [("BRKCPU" + p.name[3:], p.name) for p in cat.of(family="Brisk7", type_="CPU")] +
              old_codes("BRK") + older_versions("BRK") + supplies_without_letter("BRK"))
    pairs_for("' Plover: processors under the CPU code, older I/O codes, numeric numbers (9350)",
              [("077CPU" + p.name[6:], p.name) for p in cat.of(family="Plover", type_="CPU")] +
              old_codes("07V") + older_versions("077") + supplies_without_letter("077") +
              numeric("07V", keep=(1,)))
    pairs_for("' Tessel processor designations (model names of the Tessel processor types)",
              tessel_cpu_pairs(cat))
    pairs_for("' Rockwell: predecessor catalogue numbers",
              [("1756ENET", "1756-ENBT")])
    pairs_for("' Translations to parts that this table does not carry", MAPPING_EXCEPTIONS)
    return sections


def mapping_text(sections) -> str:
    out = ["' Part mapping: legacy part names (compressed: no blanks, no dashes) and the",
           "' current part names they stand for, one pair per line, separated by a tab.",
           "' Lines starting with an apostrophe are comments.",
           "' Plover I/O written as 97V... needs no line here: the lookup turns 97V into",
           "' 07V first and then looks the name up as usual."]
    for title, pairs in sections:
        out.append("")
        out.append(title)
        for legacy, current in pairs:
            out.append(f"{legacy}\t{current}")
    out.append("")
    return "\n".join(out)


# ---------------------------------------------------------------------------
# PartDescriptions.txt

def quote_field(text: str) -> str:
    if '"' in text:
        return '"' + text.replace('"', '""') + '"'
    return text


def parts_text(cat: Catalogue) -> str:
    out = ["\t".join(HEADER),
           "' Part table of VellCfgRdr, written by scripts/gen_catalogue.py (do not edit by",
           "' hand). Naming rules: docs/catalogue.md. Fields are separated by tabs; a",
           "' description with a double quote is quoted, inner quotes doubled."]
    for item in cat.lines:
        if isinstance(item, str):
            out.append(item)
            continue
        p = item
        out.append("\t".join([p.family, p.type, p.group, p.name, str(p.module_id),
                              str(p.slots), str(p.placement), p.caps, ",".join(p.picklist),
                              quote_field(p.en), quote_field(p.fr)]))
    out.append("")
    return "\n".join(out)


# ---------------------------------------------------------------------------
# Self-check

def family_info_parts():
    """Every part name that FamilyInfo.txt names, with where it came from."""
    single = {"defaultrack", "defaultextrack", "defaultcpu", "defaultpowersupply",
              "defaultredundpower", "defaultbackplnextmod", "backplaneextkit",
              "defaultriointerface", "defaultriohead", "slotcover",
              "hotstdbycpu", "rackextender"}
    found = []
    section = ""
    for raw in (RESOURCES / "FamilyInfo.txt").read_text(encoding="utf-8").splitlines():
        line = raw.strip()
        if not line or line.startswith(";"):
            continue
        if line.startswith("["):
            section = line.strip("[]")
            continue
        k, _, value = line.partition("=")
        k = k.strip().lower()
        value = value.split(";")[0].strip()
        names = []
        if k in single or k.startswith("migrack"):
            names = [value]
        elif k in ("needsresolutionlist", "virtualreplace"):
            names = value.split("|")
        elif k == "hotstandbyparts":
            # "(2) NAME" is two of NAME.
            names = [re.sub(r"^\s*\(\d+\)\s*", "", v) for v in value.split("+")]
        elif k == "cpusubstitutions":
            names = value.split("|")[1::2]
        elif k == "genericcpus":
            # A reader puts the pattern, each wildcard written "x", in place of
            # an unknown processor: that placeholder must be a part.
            names = [re.sub(r"[#*?]", "x", v) for v in value.split("|")]
        found += [(section, k, n.strip()) for n in names if n.strip()]
    return found


def documented_exceptions():
    text = CATALOGUE_DOC.read_text(encoding="utf-8")
    m = re.search(r"^## Mapping targets outside the table\n(.*?)(?=^## |\Z)", text,
                  re.S | re.M)
    assert m, "docs/catalogue.md lacks the section 'Mapping targets outside the table'"
    return set(re.findall(r"`([^`]+)` \| `([^`]+)`", m.group(1)))


def self_check(cat: Catalogue, supplement, mapping):
    parts = cat.parts
    names = {p.name.upper() for p in parts}

    # Counts.
    maker = [p for p in parts if p.family in MAKER_FAMILIES]
    assert len(maker) >= 1000, f"only {len(maker)} parts of the maker's families"

    # Duplicates: exact and compressed, ignoring case.
    assert len(names) == len(parts), "duplicate part name"
    assert len({key(p.name) for p in parts}) == len(parts), "duplicate compressed name"

    # Field values.
    for p in parts:
        assert p.family in FAMILIES, p.name
        assert p.type in TYPES, p.name
        assert p.group in GROUPS, f"{p.name}: group {p.group}"
        assert p.slots >= 1, p.name
        assert all(w in CAPABILITY_WORDS for w in p.caps.split()), p.name
        for text in (p.name, p.en, p.fr, ",".join(p.picklist)):
            assert "\t" not in text and "\n" not in text and "\r" not in text, p.name
            text.encode("cp1252")
        assert p.en and p.fr, f"{p.name} lacks a description"
        assert " " not in ",".join(p.picklist), p.name
        if p.type == "Module":
            assert p.group, f"{p.name} has no group"

    # Module ids.
    for fam in ID_FAMILIES:
        ids = [p.module_id for p in parts if p.family == fam and p.type in ("Module", "Power")]
        assert all(0 < i < 1000 for i in ids), fam
        assert len(ids) == len(set(ids)), f"module id used twice in {fam}"
    for p in parts:
        if p.family not in ID_FAMILIES or p.type not in ("Module", "Power"):
            assert p.module_id == 0, p.name

    # Ambiguous names and pick lists.
    for p in parts:
        if "*" in p.name or "x" in p.name:
            assert p.picklist, f"{p.name} needs a pick list"
        for entry in p.picklist:
            assert entry.upper() in names, f"pick list of {p.name}: {entry} unknown"
            assert not cat.get(entry).picklist, f"pick list of {p.name}: {entry} ambiguous"
        if p.picklist and p.type == "Module":
            assert len(p.picklist) >= 2, f"{p.name}: a module pick list needs two entries"
    for fam in MAKER_FAMILIES | {"SLC500", "ControlLogix"}:
        assert cat.has("genericRack" + fam), f"genericRack{fam} missing"

    # The writer resolves only names in upper case.
    for p in parts:
        if not p.picklist:
            assert p.name == p.name.upper(), f"{p.name} is not upper case"

    # No resolvable maker part may be the start of another one: the writer
    # would take the longer names as candidates and never resolve it.
    maker_keys = sorted(key(p.name) for p in maker if not p.picklist)
    for a, b in zip(maker_keys, maker_keys[1:]):
        if b.startswith(a):
            assert a in PREFIX_EXCEPTIONS, f"{a} is the start of {b}"

    # Slot widths.
    for p in maker:
        if p.type == "Module" and p.name[3:6] == "MOT" and not p.picklist:
            assert p.slots == (2 if int(p.name[6:8]) >= 4 else 1), p.name
        if p.name.startswith("HRNCNT"):
            assert p.slots == 2, p.name

    # Family information.
    for section, k, name in family_info_parts():
        assert name.upper() in names, f"FamilyInfo [{section}] {k}: {name} is no part"

    # Supplement.
    for section, entries in supplement:
        for k, value in entries:
            assert k.upper() in names, f"PartInfo.sup [{section}] key {k} is no part"
            for item in value.split("+"):
                item = re.sub(r"^\(\d+\)", "", item.strip()).strip()
                assert item.upper() in names, f"PartInfo.sup [{section}] {k}: {item} unknown"
    assert 30 <= sum(len(e) for _, e in supplement) <= 80

    # Mapping.
    pairs = [pair for _, ps in mapping for pair in ps]
    assert len(pairs) >= 400, f"only {len(pairs)} mapping pairs"
    legacy_keys = [key(l) for l, _ in pairs]
    assert len(set(legacy_keys)) == len(legacy_keys), "legacy name listed twice"
    legacy_set = set(legacy_keys)
    exceptions = set()
    for legacy, current in pairs:
        assert legacy == compressed(legacy) and legacy == legacy.upper(), legacy
        assert not legacy.startswith("97V"), legacy
        assert key(legacy) not in cat.by_key, f"legacy {legacy} is a part of the table"
        assert key(current) not in legacy_set, f"{current} is itself a legacy name"
        assert key(legacy) != key(current), legacy
        if current.upper() not in names:
            exceptions.add((legacy, current))
    assert exceptions == set(MAPPING_EXCEPTIONS), f"undocumented targets: {exceptions}"
    assert 3 <= len(exceptions) <= 6
    assert exceptions == documented_exceptions(), "docs/catalogue.md lists other exceptions"
    for fam in MAKER_FAMILIES:
        assert any(cat.has(c) and cat.get(c).family == fam for _, c in pairs), fam

    # Skein-3 catalogue: type codes 0x01-0x3B are the first 59 plain Brisk7
    # modules; 0x3E and 0x3F take the intelligent ones by subcode.
    brisk = [p for p in parts if p.family == "Brisk7" and p.type == "Module" and
             not p.picklist]
    plain = [p for p in brisk if p.name[3:6] not in ("SPC", "CNT", "MOT")]
    assert len(plain) >= 59
    assert len([p for p in brisk if p.name[3:6] == "SPC"]) >= 9
    assert len([p for p in brisk if p.name[3:6] in ("CNT", "MOT")]) >= 19

    # Descriptions exercise the reader: quotes, line breaks, markup, length.
    texts = [t for p in parts for t in (p.en, p.fr)]
    assert any('"' in t for t in texts)
    assert any("\\n" in t for t in texts)
    assert any("<b>" in t for t in texts)
    assert sum(len(t) > 160 for t in texts) >= 10


def report(cat, supplement, mapping):
    counts = {}
    for p in cat.parts:
        counts[p.family] = counts.get(p.family, 0) + 1
    maker = sum(n for f, n in counts.items() if f in MAKER_FAMILIES)
    print("parts per family:")
    for fam, n in counts.items():
        print(f"  {fam:14} {n}")
    print(f"  {'total':14} {len(cat.parts)} (maker's families {maker})")
    pairs = sum(len(p) for _, p in mapping)
    print(f"mapping pairs {pairs}, of which {len(MAPPING_EXCEPTIONS)} to parts outside the table")
    print(f"supplement entries {sum(len(e) for _, e in supplement)}")


# ---------------------------------------------------------------------------
# Mapping self-checks: the legacy names two tools write, in eight lists of
# fixed sizes (docs/catalogue.md, "Mapping self-checks"), written to
# src/parts/MappTestNames.inc for CMappTestHalyard and CMappTestTessel.

MAPP_TEST_INC = ROOT / "src" / "parts" / "MappTestNames.inc"
HALYARD_SIZES = (45, 44, 96, 25)
TESSEL_SIZES = (122, 78, 105, 35)


def expanded(name: str) -> str:
    """The display form a tool writes: blanks after prefix and function code."""
    if re.fullmatch(r"[0-9A-Z]{3}[A-Z]{3}[0-9A-Za-z]+", name):
        return f"{name[:3]} {name[3:6]} {name[6:]}"
    return name


def build_mapp_test_lists(cat: Catalogue, mapping):
    """Returns [(list name, comment, names)] for the eight lists."""
    pairs = [pair for _, section in mapping for pair in section]
    by_name = {p.name: p for p in cat.parts}

    def legacy(families, types, numeric=None):
        out = []
        for old, new in pairs:
            p = by_name.get(new)
            if p is None or p.family not in families or p.type not in types:
                continue
            if numeric is not None and old[:4].isdigit() != numeric:
                continue
            out.append(old)
        return out

    def spread(names, n):
        """n names taken evenly across the list, in list order."""
        assert len(names) >= n, f"only {len(names)} names for a list of {n}"
        return [names[i * len(names) // n] for i in range(n)]

    hal = ("Kestrel", "GarnetSeries", "Sorrel")
    tes = ("GarnetSeries", "Wren", "Sorrel")
    heads = [p.name for p in cat.of(family=hal, type_=("CPU", "Power"))]
    modules_h = [p.name for p in cat.of(family=hal, type_="Module")]
    modules_t = [p.name for p in cat.of(family=tes, type_="Module")]
    plover_io = ["97V" + p.name[3:] for p in cat.of(family="Plover", type_="Module",
                                                    prefix="07V")]
    plover_other = [p.name for p in cat.of(family="Plover") if not p.name.startswith("07V")]
    generic = [p.name for p in cat.parts if p.family in MAKER_FAMILIES and p.picklist]
    outside = [old for old, _ in MAPPING_EXCEPTIONS]
    lists = [
        ("kHalyard1", "processors and supplies, written expanded",
         [expanded(n) for n in spread(heads, HALYARD_SIZES[0])]),
        ("kHalyard2", "processors and supplies under their legacy names",
         spread(legacy(hal, ("CPU", "Power")), HALYARD_SIZES[1])),
        ("kHalyard3", "modules, written expanded",
         [expanded(n) for n in spread(modules_h, HALYARD_SIZES[2])]),
        ("kHalyard4", "modules under older function codes",
         spread(legacy(hal, ("Module",), numeric=False), HALYARD_SIZES[3])),
        ("kTessel1", "modules, compressed", spread(modules_t, TESSEL_SIZES[0])),
        ("kTessel2", "numeric legacy numbers",
         spread(legacy(tes + ("Kestrel", "Plover"), ("Module", "Power", "Rack"), numeric=True),
                TESSEL_SIZES[1])),
        ("kTessel3", "Plover I/O in the short 97V form, then other Plover parts",
         plover_io + spread(plover_other, TESSEL_SIZES[2] - len(plover_io))),
        ("kTessel4", "generic words, and legacy names mapped to parts outside the table",
         spread(generic, TESSEL_SIZES[3] - len(outside)) + outside),
    ]
    for name, _, names in lists:
        assert all('"' not in n and "\\" not in n for n in names), name
    return lists


def mapp_test_text(lists) -> str:
    out = ["// Legacy part names for the mapping self-checks, written by",
           "// scripts/gen_catalogue.py (do not edit by hand; docs/catalogue.md,",
           "// \"Mapping self-checks\")."]
    for name, comment, names in lists:
        out.append("")
        out.append(f"// {comment} ({len(names)})")
        out.append(f"constexpr const char* {name}[] = {{")
        out.extend(f'    "{n}",' for n in names)
        out.append("};")
    out.append("")
    return "\n".join(out)


def main(argv):
    check_only = "--check" in argv
    cat = build_catalogue()
    supplement = build_supplement(cat)
    mapping = build_mapping(cat)
    self_check(cat, supplement, mapping)
    outputs = {"PartDescriptions.txt": parts_text(cat),
               "PartInfo.sup": supplement_text(supplement),
               "PartMapping.txt": mapping_text(mapping),
               MAPP_TEST_INC: mapp_test_text(build_mapp_test_lists(cat, mapping))}
    stale = []
    for name, text in outputs.items():
        path = RESOURCES / name
        data = text.encode("utf-8")
        if check_only:
            if not path.exists() or path.read_bytes() != data:
                stale.append(name)
        else:
            path.write_bytes(data)
    report(cat, supplement, mapping)
    if stale:
        print("out of date: " + ", ".join(str(s) for s in stale))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
