#pragma once
// A drawable element: the common base of a window's own drawing and of the parts of a list
// row (text, pictures, checkers). It carries position, size and the checked, hover and
// current display flags; subclasses draw and read their settings.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "app/toolkit/core/ElementType.h"

namespace kro::toolkit {

class TreeNode;

class Element {
public:
  Element(int16_t x, int16_t y, int16_t width, int16_t height) : x(x), y(y), width(width), height(height) {}
  virtual ~Element() = default;
  Element(const Element&) = default;
  Element& operator=(const Element&) = default;

  // A copy of the element and everything it holds by value; pictures and fonts that
  // subclasses share between copies stay shared (rows are built from template copies).
  virtual std::unique_ptr<Element> Clone() const;
  // Draws at (x + dx, y + dy); the base draws nothing.
  virtual bool Draw(HDC dc, int dx, int dy);
  // Reads the element's settings or content from a text field of a list description.
  virtual bool Parse(const char* text);
  virtual int16_t GetWidth();
  virtual int16_t GetHeight();
  virtual void SetDecoration(uint32_t flag);
  virtual uint32_t IsHover();
  virtual uint32_t IsChecked();
  virtual uint32_t IsCurrent();
  virtual void SetChecked(uint32_t flag);
  virtual void SetCurrent(uint32_t flag);
  virtual void SetHover(uint32_t flag);
  // Checkers keep their own on/off state here; other elements have none.
  virtual void SetState(uint32_t value);
  virtual uint32_t GetState();

  int16_t x;
  int16_t y;
  int16_t width;
  int16_t height;
  uint32_t checked = 0;
  uint32_t hover = 0;
  uint32_t current = 0;
  char typeName[kElementTypeNameBytes] = {};
  int16_t type = kElementNone;
  TreeNode* node = nullptr;  // the id-tree node the element's row shows; borrowed
  uint32_t decoration = 0;

protected:
  // Sets the type, its keyword and the decoration flag the type starts with.
  void SetType(ElementType newType);
};

}  // namespace kro::toolkit
