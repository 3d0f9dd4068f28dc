"""Procedural illustrations of the sample encyclopedia (Pillow; deterministic)."""
