"""publiccode.yml parses as YAML and holds every key the 0.4 format requires, each with a value
of the right kind, its version that of the project, and the screenshots it names present.

    python3 publiccode.py <source folder> <project version>
"""
import datetime
import os
import re
import sys

import yaml

root, version = sys.argv[1], sys.argv[2]
with open(os.path.join(root, "publiccode.yml"), encoding="utf-8") as f:
    card = yaml.safe_load(f)
faults = []


def need(condition, what):
    if not condition:
        faults.append(what)


def text(value):
    return isinstance(value, str) and value.strip() != ""


def strings(value):
    return isinstance(value, list) and len(value) > 0 and all(text(v) for v in value)


need(card.get("publiccodeYmlVersion") == "0.4", "publiccodeYmlVersion is not \"0.4\"")
need(text(card.get("name")), "name")
need(re.match(r"^https?://\S+$", str(card.get("url"))), "url is not a URL")
need(card.get("softwareVersion") == version, f"softwareVersion is not {version}")
need(isinstance(card.get("releaseDate"), str)
     and isinstance(datetime.date.fromisoformat(card["releaseDate"]), datetime.date), "releaseDate")
need(strings(card.get("platforms"))
     and set(card["platforms"]) <= {"web", "windows", "mac", "linux", "ios", "android"}, "platforms")
need(strings(card.get("categories"))
     and all(re.match(r"^[a-z-]+$", c) for c in card["categories"]), "categories")
need(card.get("developmentStatus") in {"concept", "development", "beta", "stable", "obsolete"},
     "developmentStatus")
need(card.get("softwareType") in {"standalone/mobile", "standalone/iot", "standalone/desktop",
                                  "standalone/web", "standalone/backend", "standalone/other",
                                  "addon", "library", "configurationFiles"}, "softwareType")
descriptions = card.get("description") or {}
need({"it", "en"} <= set(descriptions), "description in it and en")
for language, description in descriptions.items():
    need(text(description.get("shortDescription"))
         and len(description["shortDescription"]) <= 150, f"{language} shortDescription")
    need(text(description.get("longDescription"))
         and 150 <= len(description["longDescription"]) <= 10000, f"{language} longDescription")
    need(strings(description.get("features")), f"{language} features")
    for shot in description.get("screenshots") or []:
        need(os.path.isfile(os.path.join(root, shot)), f"{language} screenshot {shot}")
legal = card.get("legal") or {}
need(legal.get("license") == "EUPL-1.2", "legal/license is not EUPL-1.2")
need(text(legal.get("mainCopyrightOwner")), "legal/mainCopyrightOwner")
maintenance = card.get("maintenance") or {}
need(maintenance.get("type") in {"internal", "contract", "community", "none"}, "maintenance/type")
if maintenance.get("type") in {"internal", "community"}:
    need(isinstance(maintenance.get("contacts"), list)
         and all(text(c.get("name")) for c in maintenance["contacts"]), "maintenance/contacts")
localisation = card.get("localisation") or {}
need(isinstance(localisation.get("localisationReady"), bool), "localisation/localisationReady")
need(strings(localisation.get("availableLanguages")), "localisation/availableLanguages")
for dependency in (card.get("dependsOn") or {}).get("open") or []:
    need(text(dependency.get("name")), "dependsOn/open name")
italian = card.get("it") or {}
need(italian.get("countryExtensionVersion") == "1.0", "it/countryExtensionVersion is not \"1.0\"")
need(all(isinstance(v, bool) for v in (italian.get("piattaforme") or {}).values()),
     "it/piattaforme")

for fault in faults:
    print("publiccode.yml:", fault)
sys.exit(1 if faults else 0)
