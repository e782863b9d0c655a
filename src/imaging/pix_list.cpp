// Graphics lists: points, lines, rectangles and arcs.
#include <algorithm>
#include <exception>

#include "pixcore.h"

namespace {

int append(GraphicsListStruct* list, const GraphicsItemStruct& item) {
  if (list == nullptr) return -1;
  if (list->items.size() > static_cast<std::size_t>(PixMaxListIndex)) return -1;
  try {
    list->items.push_back(item);
  } catch (const std::exception&) {
    return -1;
  }
  return list->count() - 1;
}

GraphicsItemStruct line_item(const GraphicsLineStruct& line) {
  GraphicsItemStruct item;
  item.type = GraphicsLine;
  item.color = line.color;
  item.p1 = line.x0;
  item.p2 = line.y0;
  item.p3 = line.x1;
  item.p4 = line.y1;
  return item;
}

}  // namespace

int InitListSize(GraphicsListStruct* list, int32_t n) {
  if (list == nullptr || n < 0) return -1;
  try {
    std::vector<GraphicsItemStruct> room;
    room.reserve(static_cast<std::size_t>(std::min(n, int32_t(4096))));
    list->items.swap(room);
  } catch (const std::exception&) {
    return -1;
  }
  return 1;
}

int DestroyList(GraphicsListStruct* list) {
  if (list == nullptr) return -1;
  std::vector<GraphicsItemStruct>().swap(list->items);
  return 1;
}

int ClearList(GraphicsListStruct* list) {
  if (list == nullptr) return -1;
  list->items.clear();
  return 1;
}

int AddRectangleToList(GraphicsListStruct* list, const GraphicsRectangleStruct* rectangle) {
  if (rectangle == nullptr) return -1;
  GraphicsItemStruct item;
  item.type = GraphicsRectangle;
  item.color = rectangle->color;
  item.p1 = rectangle->left;
  item.p2 = rectangle->top;
  item.p3 = rectangle->right;
  item.p4 = rectangle->bottom;
  return append(list, item);
}

int AddLineToList(GraphicsListStruct* list, const GraphicsLineStruct* line) {
  if (line == nullptr) return -1;
  return append(list, line_item(*line));
}

int AddPointToList(GraphicsListStruct* list, uint32_t color, float x, float y) {
  GraphicsItemStruct item;
  item.type = GraphicsPoint;
  item.color = color;
  item.p2 = x;
  item.p3 = y;
  return append(list, item);
}

int AddArcToList(GraphicsListStruct* list, uint32_t color, float cx, float cy, float radius,
                 float start, float end) {
  GraphicsItemStruct item;
  item.type = GraphicsArc;
  item.color = color;
  item.p1 = cx;
  item.p2 = cy;
  item.p3 = radius;
  item.p4 = start;
  item.p5 = end;
  return append(list, item);
}

int AddItemToList(GraphicsListStruct* list, const GraphicsItemStruct* item) {
  if (item == nullptr) return -1;
  return append(list, *item);
}

int SetLineToList(GraphicsListStruct* list, const GraphicsLineStruct* line, int32_t index) {
  if (list == nullptr || line == nullptr || index < 0 || index > PixMaxListIndex) return -1;
  try {
    if (static_cast<std::size_t>(index) >= list->items.size())
      list->items.resize(static_cast<std::size_t>(index) + 1);  // gaps: GraphicsEmpty
  } catch (const std::exception&) {
    return -1;
  }
  list->items[static_cast<std::size_t>(index)] = line_item(*line);
  return 1;
}

GraphicsItemStruct* GetFromList(GraphicsListStruct* list, int32_t index) {
  if (list == nullptr || index < 0 || index >= list->count()) return nullptr;
  return &list->items[static_cast<std::size_t>(index)];
}

const GraphicsItemStruct* GetFromList(const GraphicsListStruct* list, int32_t index) {
  if (list == nullptr || index < 0 || index >= list->count()) return nullptr;
  return &list->items[static_cast<std::size_t>(index)];
}

GraphicsItemStruct* GetLineFromList(GraphicsListStruct* list, int32_t index) {
  GraphicsItemStruct* item = GetFromList(list, index);
  return item && item->type == GraphicsLine ? item : nullptr;
}

int RemoveFromList(GraphicsListStruct* list, int32_t index) {
  if (list == nullptr || index < 0 || index >= list->count()) return -1;
  list->items.erase(list->items.begin() + index);
  return 1;
}
