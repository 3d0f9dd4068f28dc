"""Builds the sample encyclopedia's two discs from content/ and checks every reference."""
