var i, s: Integer;
function F(n: Integer = 2): Integer; begin Result := n * 2 end;
begin for i := 1 to F do begin s := s + i; if s > 3 then Break end; repeat s := s - 1 until s < 0; Value := s end.