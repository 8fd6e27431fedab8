var i: Integer;
begin
  for i := 1 to 10 do begin if i > 'ТБ