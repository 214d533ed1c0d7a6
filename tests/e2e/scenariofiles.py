"""The end-to-end suite's scenarios for the simulated PowerPoint (scenarios/<name>.json)."""

import json
from pathlib import Path
from typing import Any

SCENARIOS = Path(__file__).resolve().parent / "scenarios"


def scenario(name: str, **overrides: Any) -> dict:
    """A shipped scenario with members replaced."""
    content = json.loads((SCENARIOS / f"{name}.json").read_text(encoding="utf-8"))
    content.update(overrides)
    return content
